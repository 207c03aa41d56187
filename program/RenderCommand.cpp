#include "RenderCommand.h"

#include "app/CommandLine.h"
#include "platform/Registry.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/SongFile.h"
#include "playback/ClassModPlayer.h"
#include "settings/ClassOptions.h"

#include <QFileInfo>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

/// Set by the signals that end the program, so that the render stops and removes its file.
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void requestStop(int) { g_stopRequested.store(true); }

void stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

int failure(const QString& text, int status = 1)
{
    std::fprintf(stderr, "jukarium: %s\n", qPrintable(text));
    return status;
}

QString extensionList()
{
    QStringList extensions;
    for (const AudioFileFormat format : writableAudioFormats()) {
        const QString extension = QLatin1Char('.') + QLatin1String(audioFileType(format).extension);
        if (!extensions.contains(extension))
            extensions.append(extension);
    }
    return extensions.join(QStringLiteral(", "));
}

}  // namespace

int RunRenderCommand(const QStringList& arguments, const QString& configDirectory)
{
    QString error;
    const std::optional<CommandLine::RenderArguments> render = CommandLine::ParseRender(arguments, &error);
    if (!render)
        return failure(error, 2);
    const std::optional<AudioFileFormat> format = audioFormatForFileName(render->output);
    if (!format) {
        return failure(QStringLiteral("%1: no audio format of this name's extension; these are "
                                      "written: %2").arg(render->output, extensionList()), 2);
    }
    const std::unique_ptr<LoadedModule> loaded = loadModuleFile(render->module, &error);
    if (!loaded)
        return failure(QStringLiteral("%1: not loaded: %2").arg(render->module, error));
    const int subsongs = int(loaded->details.subsongs.size());
    if (render->subsong > subsongs) {
        return failure(QStringLiteral("%1: no subsong %2; it has %3")
                           .arg(render->module).arg(render->subsong).arg(subsongs), 2);
    }

    Registry registry(configDirectory);
    SongFileJob job;
    job.target = render->output;
    job.format = *format;
    job.quality = ClassOptions::StoredPlaybackQuality(registry);
    job.song.subsong = render->subsong - 1;
    job.tags.title = ClassModPlayer::TitleOf(loaded->info, render->module);
    job.tags.artist = loaded->details.artist;
    job.tags.comment = loaded->details.message;
    // Nobody is there to ask whether a file may be replaced: it never is.
    job.existing = WholeFileWriter::Existing::Keep;
    // What a render killed outright left behind.
    WholeFileWriter::removeAbandonedTemporaries(job.target);

    stopOnSignals();
    const SongFileResult result = writeSongFile(*loaded->module, job, g_stopRequested);
    switch (result.outcome) {
    case SongFileResult::Outcome::Written:
        return 0;
    case SongFileResult::Outcome::Cancelled:
        return failure(QStringLiteral("%1: stopped; nothing was written").arg(render->output));
    case SongFileResult::Outcome::Failed:
        break;
    }
    return failure(QStringLiteral("%1: not written: %2").arg(render->output, result.reason));
}
