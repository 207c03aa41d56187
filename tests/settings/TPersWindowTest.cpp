#include "platform/Registry.h"
#include "settings/TPersWindow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct FakeWindow : WindowBounds {
    int l = 10, t = 20, w = 300, h = 200;
    QStringList changes;
    int left() const override { return l; }
    int top() const override { return t; }
    int width() const override { return w; }
    int height() const override { return h; }
    void setLeft(int v) override { l = v; changes << "left"; }
    void setTop(int v) override { t = v; changes << "top"; }
    void setWidth(int v) override { w = v; changes << "width"; }
    void setHeight(int v) override { h = v; changes << "height"; }
};

const QString kKey = "Software\\Test\\Window";

}  // namespace

class TPersWindowTest : public ::testing::Test {
protected:
    std::optional<quint32> stored(const QString& name, const QString& key = kKey) const
    {
        const auto value = registry.value(RegistryRoot::CurrentUser, key, name);
        return value ? std::optional<quint32>(value->number) : std::nullopt;
    }
    void store(const QString& name, int bound, const QString& key = kKey)
    {
        registry.setValue(RegistryRoot::CurrentUser, key, name,
                          RegistryValue::fromDword(static_cast<quint32>(bound)));
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
    FakeWindow window;
};

TEST_F(TPersWindowTest, SaveAndRestoreRoundTripEachBoundOnItsOwn)
{
    TPersWindow saver(window, registry);
    saver.Enabled = false;
    saver.RegPath = kKey;
    window.l = -40;  // a window partly off the left edge of the screen
    saver.Save();
    EXPECT_EQ(stored("Left"), 0xFFFFFFD8u);
    EXPECT_EQ(stored("Top"), 20u);

    FakeWindow other;
    other.l = other.t = other.w = other.h = 1;
    TPersWindow restorer(other, registry);
    restorer.Enabled = false;
    restorer.RegPath = kKey;
    restorer.Restore();
    EXPECT_EQ(other.l, -40);
    EXPECT_EQ(other.t, 20);
    EXPECT_EQ(other.w, 300);
    EXPECT_EQ(other.h, 200);
    EXPECT_EQ(other.changes, QStringList({"height", "left", "top", "width"}));
}

TEST_F(TPersWindowTest, FirstRestoreCreatesTheKeyAndChangesNothing)
{
    TPersWindow placement(window, registry);
    placement.RegPath = kKey;
    placement.Enabled = false;
    placement.Restore();
    EXPECT_TRUE(registry.keyExists(RegistryRoot::CurrentUser, kKey));
    EXPECT_TRUE(window.changes.isEmpty());
}

TEST_F(TPersWindowTest, StoredZeroLeavesTheBoundAsItIs)
{
    store("Left", 0);
    store("Top", 77);
    TPersWindow placement(window, registry);
    placement.RegPath = kKey;
    placement.Enabled = false;
    placement.Restore();
    EXPECT_EQ(window.l, 10);
    EXPECT_EQ(window.t, 77);
}

TEST_F(TPersWindowTest, NumbersNoWindowCanHaveLeaveTheBoundsAsTheyAre)
{
    store("Left", 0x7fffffff);
    store("Top", -2147483647 - 1);
    store("Width", 32768);
    store("Height", -5);
    TPersWindow placement(window, registry);
    placement.RegPath = kKey;
    placement.Enabled = false;
    placement.Restore();
    EXPECT_EQ(window.l, 10);
    EXPECT_EQ(window.t, 20);
    EXPECT_EQ(window.w, 300);
    EXPECT_EQ(window.h, 200);

    store("Left", -32768);  // the furthest a window can be
    store("Top", 32767);
    store("Width", 32767);
    store("Height", 1);
    placement.Restore();
    EXPECT_EQ(window.l, -32768);
    EXPECT_EQ(window.t, 32767);
    EXPECT_EQ(window.w, 32767);
    EXPECT_EQ(window.h, 1);
}

TEST_F(TPersWindowTest, SwitchesAndNamesChooseWhatIsWritten)
{
    store("Top", 5);
    TPersWindow placement(window, registry);
    placement.Enabled = false;
    placement.RegPath = kKey;
    placement.SaveTop = false;
    placement.RgNameHeight = "Infoheight";
    placement.Save();
    EXPECT_EQ(stored("Top"), 5u);
    EXPECT_EQ(stored("Infoheight"), 200u);
    EXPECT_FALSE(stored("Height"));

    placement.SetLeft = placement.SetTop = placement.SetWidth = false;
    window.h = 1;
    window.l = 2;
    placement.Restore();
    EXPECT_EQ(window.h, 200);
    EXPECT_EQ(window.l, 2);
}

TEST_F(TPersWindowTest, EmptyRegPathSavesNothingButRestoresFromTheRoot)
{
    store("Width", 640, QString());
    TPersWindow placement(window, registry);
    placement.Enabled = false;
    placement.Save();
    EXPECT_FALSE(stored("Height", QString()));
    placement.Restore();
    EXPECT_EQ(window.w, 640);
}

TEST_F(TPersWindowTest, EnabledRestoresWhenLoadedAndSavesWhenDestroyed)
{
    store("Height", 123);
    {
        TPersWindow placement(window, registry);
        placement.RegPath = kKey;
        placement.Loaded();
        EXPECT_EQ(window.h, 123);
        window.w = 555;
    }
    EXPECT_EQ(stored("Width"), 555u);
}
