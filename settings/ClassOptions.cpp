#include "settings/ClassOptions.h"

#include "platform/Registry.h"
#include "settings/CLassFileLinks.h"
#include "settings/RegistryKeys.h"
#include "settings/StoredNumber.h"

#include <QCoreApplication>

namespace {

const QString kPaths = QStringLiteral("Paths");
const QString kUserActions = QStringLiteral("User Actions");
const QString kSoundOptions = QStringLiteral("Sound Options");
const QString kPlaying = QStringLiteral("Playing");
const QString kPlaybackQuality = QStringLiteral("Playback Quality");

/// Reads and writes the values of one sub-key of the options key, all stored as strings.
class OptionsSubKey {
public:
    OptionsSubKey(Registry& registry, const QString& name)
        : m_registry(registry), m_key(RegistryKeys::kOptions + QLatin1Char('\\') + name) {}

    QString readString(const QString& name, const QString& fallback = QString()) const
    {
        const auto value = m_registry.value(RegistryRoot::CurrentUser, m_key, name);
        if (!value)
            return fallback;
        switch (value->type) {
        case RegistryValue::Type::String:
            return value->text;
        case RegistryValue::Type::Dword:
            return QString::number(static_cast<qint32>(value->number));
        case RegistryValue::Type::Binary:
            break;
        }
        return fallback;
    }
    int readInteger(const QString& name, int fallback) const
    {
        return ParseStoredInteger(readString(name, QString::number(fallback)), fallback);
    }
    /// A number outside first..last gives fallback: a hand-edited "Fadeout" of 2147483647
    /// would otherwise freeze the window at the next change of module.
    int readInteger(const QString& name, int fallback, int first, int last) const
    {
        const int number = readInteger(name, fallback);
        return number >= first && number <= last ? number : fallback;
    }
    bool readBoolean(const QString& name, bool fallback) const
    {
        return readInteger(name, fallback ? 1 : 0) != 0;
    }

    void write(const QString& name, const QString& text) const
    {
        m_registry.setValue(RegistryRoot::CurrentUser, m_key, name, RegistryValue::fromString(text));
    }
    void write(const QString& name, int number) const { write(name, QString::number(number)); }
    void write(const QString& name, bool flag) const { write(name, QString::number(flag ? 1 : 0)); }

private:
    Registry& m_registry;
    QString m_key;
};

QString userActionName(int n, const char* what)
{
    return QStringLiteral("User Action #%1 - %2").arg(n).arg(QLatin1String(what));
}

QString recentPathName(int position)
{
    return QStringLiteral("FileControl Paths %1").arg(position);
}

}  // namespace

ClassOptions::ClassOptions(Registry& registry) : m_registry(registry)
{
    read();
}

ClassOptions::~ClassOptions()
{
    write();
    // The running program file is known only through the application object.
    if (QCoreApplication::instance())
        WriteFileLinks(m_registry, QCoreApplication::applicationFilePath());
}

const ClassOptions::UserAction* ClassOptions::userAction(int n) const
{
    return n >= 1 && n <= 3 ? &m_userActions[n - 1] : nullptr;
}

ClassOptions::UserAction* ClassOptions::userAction(int n)
{
    return n >= 1 && n <= 3 ? &m_userActions[n - 1] : nullptr;
}

QString ClassOptions::UserActionPath(int n) const
{
    const UserAction* action = userAction(n);
    return action ? action->path : QString();
}

void ClassOptions::SetUserActionPath(int n, const QString& commandLine)
{
    if (UserAction* action = userAction(n))
        action->path = commandLine;
}

bool ClassOptions::UserActionSleep(int n) const
{
    const UserAction* action = userAction(n);
    return action && action->sleep;
}

void ClassOptions::SetUserActionSleep(int n, bool sleep)
{
    if (UserAction* action = userAction(n))
        action->sleep = sleep;
}

bool ClassOptions::UserActionCloseMod(int n) const
{
    const UserAction* action = userAction(n);
    return action ? action->closeMod : true;
}

void ClassOptions::SetUserActionCloseMod(int n, bool close)
{
    if (UserAction* action = userAction(n))
        action->closeMod = close;
}

void ClassOptions::AddRecentPath(const QString& directory)
{
    const QString wanted = directory.toUpper();
    for (const QString& entry : std::as_const(m_recentPaths)) {
        if (entry.toUpper() == wanted)
            return;
    }
    m_recentPaths.append(directory);
    if (m_recentPaths.size() > kRecentPathsMax)
        m_recentPaths.removeAt(1);
}

void ClassOptions::read()
{
    m_registry.createKey(RegistryRoot::CurrentUser, RegistryKeys::kOptions);
    const OptionsSubKey paths(m_registry, kPaths);
    const OptionsSubKey actions(m_registry, kUserActions);
    const OptionsSubKey sound(m_registry, kSoundOptions);

    m_openModulePath = paths.readString(QStringLiteral("OpenModule Path"));
    m_openDiscPath = paths.readString(QStringLiteral("OpenDisc Path"));
    for (int n = 1; n <= 3; ++n)
        m_userActions[n - 1].path = actions.readString(userActionName(n, "Path"));
    for (int n = 1; n <= 3; ++n)
        m_userActions[n - 1].sleep = actions.readBoolean(userActionName(n, "Sleep"), false);
    for (int n = 1; n <= 3; ++n)
        m_userActions[n - 1].closeMod = actions.readBoolean(userActionName(n, "Close Mod"), true);
    for (int position = 1; position <= kRecentPathsMax; ++position) {
        const QString directory = paths.readString(recentPathName(position));
        if (!directory.isEmpty())
            m_recentPaths.append(directory);
    }
    m_playbackMode = sound.readInteger(QStringLiteral("Playback mode"), 3, 0, 3);
    m_playbackFrequency = sound.readInteger(QStringLiteral("Playback frequency"), 4, 0, 4);
    m_playbackBuffer = sound.readInteger(QStringLiteral("Playback buffer"), 2, 0, kPlaybackBufferMax);
    m_scrollSpeed = sound.readInteger(QStringLiteral("Scrollspeed"), 1, 0, 3);
    m_fadeout = sound.readInteger(QStringLiteral("Fadeout"), 10, 0, kFadeoutMax);
    m_volumeExe = sound.readString(QStringLiteral("VolumeExe"));
    const OptionsSubKey playing(m_registry, kPlaying);
    m_outputVolume = playing.readInteger(QStringLiteral("Volume"), 100, 0, 100);
    m_atTheEnd = static_cast<SongEnd>(playing.readInteger(QStringLiteral("At the end"), 0, 0, 2));

    const OptionsSubKey quality(m_registry, kPlaybackQuality);
    const RenderQuality defaults;
    const int taps = quality.readInteger(QStringLiteral("Interpolation"), defaults.interpolationTaps);
    m_playbackQuality.interpolationTaps = taps == 1 || taps == 2 || taps == 4 || taps == 8 ? taps : defaults.interpolationTaps;
    m_playbackQuality.stereoSeparation = quality.readInteger(QStringLiteral("Stereo separation"),
                                                             defaults.stereoSeparation, 0, 200);
    m_playbackQuality.amigaResampler = quality.readInteger(QStringLiteral("Amiga resampler"), 0, 0, 1) == 1;
    m_playbackQuality.volumeRamping = quality.readInteger(QStringLiteral("Volume ramping"),
                                                          RenderQuality::kDefaultVolumeRamping,
                                                          RenderQuality::kDefaultVolumeRamping, 10);
}

void ClassOptions::write() const
{
    // All values in one write of the file. A failure is reported by whoever deferred the
    // writes of the whole exit; the store itself reports nothing.
    m_registry.deferWrites();
    const OptionsSubKey paths(m_registry, kPaths);
    const OptionsSubKey actions(m_registry, kUserActions);
    const OptionsSubKey sound(m_registry, kSoundOptions);

    paths.write(QStringLiteral("OpenModule Path"), m_openModulePath);
    paths.write(QStringLiteral("OpenDisc Path"), m_openDiscPath);
    for (int n = 1; n <= 3; ++n)
        actions.write(userActionName(n, "Path"), m_userActions[n - 1].path);
    for (int n = 1; n <= 3; ++n)
        actions.write(userActionName(n, "Sleep"), m_userActions[n - 1].sleep);
    for (int n = 1; n <= 3; ++n)
        actions.write(userActionName(n, "Close Mod"), m_userActions[n - 1].closeMod);
    // Positions past the list are left alone, so older values there stay in the registry.
    for (int position = 1; position <= qMin(m_recentPaths.size(), kRecentPathsMax); ++position) {
        const QString& directory = m_recentPaths.at(position - 1);
        if (!directory.isEmpty())
            paths.write(recentPathName(position), directory);
    }
    sound.write(QStringLiteral("Playback mode"), m_playbackMode);
    sound.write(QStringLiteral("Playback frequency"), m_playbackFrequency);
    sound.write(QStringLiteral("Playback buffer"), m_playbackBuffer);
    sound.write(QStringLiteral("Scrollspeed"), m_scrollSpeed);
    sound.write(QStringLiteral("Fadeout"), m_fadeout);
    sound.write(QStringLiteral("VolumeExe"), m_volumeExe);
    const OptionsSubKey playing(m_registry, kPlaying);
    playing.write(QStringLiteral("Volume"), m_outputVolume);
    playing.write(QStringLiteral("At the end"), static_cast<int>(m_atTheEnd));
    const OptionsSubKey quality(m_registry, kPlaybackQuality);
    quality.write(QStringLiteral("Interpolation"), m_playbackQuality.interpolationTaps);
    quality.write(QStringLiteral("Stereo separation"), m_playbackQuality.stereoSeparation);
    quality.write(QStringLiteral("Amiga resampler"), m_playbackQuality.amigaResampler);
    quality.write(QStringLiteral("Volume ramping"), m_playbackQuality.volumeRamping);
    m_registry.commitWrites();
}
