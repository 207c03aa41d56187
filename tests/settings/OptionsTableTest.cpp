// Every row of the options table through a real registry file and the options store: what a
// row accepts at its ends is read and written back as it is, what lies just past them as the
// row's default. A row whose reading and writing disagree, or whose limits and default do not
// fit together, fails here.
#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "settings/OptionsTable.h"
#include "settings/RegistryKeys.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace {

using AnyRow = std::variant<TextRow, FlagRow, NumberRow>;

using namespace OptionsTable;

const AnyRow kEveryRow[] = {
    kOpenModulePath, kOpenDiscPath,
    kUserActionPath, kUserActionSleep, kUserActionCloseMod,
    kRecentPaths,
    kPlaybackMode, kPlaybackFrequency, kPlaybackBuffer, kScrollSpeed, kFadeout, kVolumeExe,
    kOutputVolume, kAtTheEnd, kNotify, kResume, kLastDisc, kLastModule, kLastSubsong, kLastSlot,
    kInterpolation, kStereoSeparation, kAmigaResampler, kVolumeRamping, kShortestSubsong,
    kEvenLoudness, kLoudnessTarget,
};

/// A text stored for a value, and the text the store writes back for it at exit.
struct StoredText {
    QString stored;
    QString writtenBack;
};

std::vector<StoredText> storedTexts(const TextRow&)
{
    return {{"", ""}, {"/a b/\"c\"\\d %1", "/a b/\"c\"\\d %1"}};
}

/// The numbers just outside row's ends, where an int has them.
template <typename Row>
std::vector<int> justOutside(const Row& row)
{
    std::vector<int> numbers;
    if (row.first > std::numeric_limits<int>::min())
        numbers.push_back(row.first - 1);
    if (row.last < std::numeric_limits<int>::max())
        numbers.push_back(row.last + 1);
    return numbers;
}

std::vector<StoredText> storedTexts(const FlagRow& row)
{
    const auto flagText = [](bool on) { return QString::number(on ? 1 : 0); };
    std::vector<StoredText> texts = {{"0", "0"}, {"1", "1"}};
    for (const int number : {row.first, row.last})
        texts.push_back({QString::number(number), flagText(number != 0)});
    for (const int number : justOutside(row))
        texts.push_back({QString::number(number), flagText(row.defaultValue)});
    return texts;
}

std::vector<StoredText> storedTexts(const NumberRow& row)
{
    std::vector<int> accepted = {row.first, row.last, row.lastOffered};
    accepted.insert(accepted.end(), row.only.begin(), row.only.end());
    std::vector<int> refused = justOutside(row);
    // Of a row that accepts only some numbers between its ends, the first one it refuses.
    for (int number = row.first; number <= row.last && !row.only.empty(); ++number) {
        if (!row.accepts(number)) {
            refused.push_back(number);
            break;
        }
    }
    std::vector<StoredText> texts;
    for (const int number : accepted)
        texts.push_back({QString::number(number), QString::number(number)});
    for (const int number : refused)
        texts.push_back({QString::number(number), QString::number(row.defaultValue)});
    return texts;
}

QString sectionKey(const char* section)
{
    return RegistryKeys::kOptions + "\\" + section;
}

/// The row's value name in letters only.
std::string testName(const AnyRow& row)
{
    const QString name = std::visit([](const auto& any) { return QString(any.name); }, row);
    return QString(name).remove(QRegularExpression("[^A-Za-z]")).toStdString();
}

}  // namespace

class OptionsTableTest : public ::testing::TestWithParam<AnyRow> {
protected:
    template <typename Row>
    void roundTrip(const Row& row)
    {
        const QString key = sectionKey(row.section);
        for (const auto& [stored, writtenBack] : storedTexts(row)) {
            SCOPED_TRACE(stored.toStdString());
            for (int n = 1; n <= row.count; ++n)
                registry.setValue(RegistryRoot::CurrentUser, key, OptionValueName(row, n),
                                  RegistryValue::fromString(stored));
            { ClassOptions options(registry); }
            for (int n = 1; n <= row.count; ++n) {
                SCOPED_TRACE(n);
                EXPECT_EQ(storedText(key, OptionValueName(row, n)), writtenBack.toStdString());
            }
        }
    }

    std::string storedText(const QString& key, const QString& name) const
    {
        const auto value = registry.value(RegistryRoot::CurrentUser, key, name);
        if (!value)
            return "(none)";
        return value->type == RegistryValue::Type::String ? value->text.toStdString() : "(not a string)";
    }

    QTemporaryDir dir;
    Registry registry{dir.path()};
};

TEST_P(OptionsTableTest, StoredValuesAtAndPastTheLimitsComeBackAsTheRowSays)
{
    if (const auto* number = std::get_if<NumberRow>(&GetParam())) {
        EXPECT_TRUE(number->accepts(number->defaultValue)) << "its own default";
    }
    std::visit([this](const auto& row) { roundTrip(row); }, GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryRow, OptionsTableTest, ::testing::ValuesIn(kEveryRow),
                         [](const ::testing::TestParamInfo<AnyRow>& info) { return testName(info.param); });

// The rows above are every value the store writes, so none goes untested.
TEST(OptionsTableRows, AreEveryValueTheStoreWrites)
{
    QTemporaryDir dir;
    Registry registry{dir.path()};
    { ClassOptions options(registry); }
    QFile file(registry.filePath(RegistryRoot::CurrentUser));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QSet<QString> written;
    QString key;
    const QRegularExpression keyLine(QStringLiteral("^\\[HKEY_CURRENT_USER\\\\(.*)\\]$"));
    const QRegularExpression valueLine(QStringLiteral("^\"([^\"]*)\"="));
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (const auto keyMatch = keyLine.match(line); keyMatch.hasMatch())
            key = keyMatch.captured(1);
        else if (const auto valueMatch = valueLine.match(line); valueMatch.hasMatch())
            written.insert(key + "\\" + valueMatch.captured(1));
    }

    QSet<QString> named;
    for (const AnyRow& any : kEveryRow) {
        std::visit([&named](const auto& row) {
            for (int n = 1; n <= row.count; ++n)
                named.insert(sectionKey(row.section) + "\\" + OptionValueName(row, n));
        }, any);
    }
    // An empty list of recent directories writes none of its values.
    for (int n = 1; n <= kRecentPaths.count; ++n)
        named.remove(sectionKey(kRecentPaths.section) + "\\" + OptionValueName(kRecentPaths, n));
    const auto sorted = [](const QSet<QString>& names) {
        QStringList list = names.values();
        list.sort();
        return list.join('\n').toStdString();
    };
    EXPECT_EQ(sorted(written), sorted(named));
}
