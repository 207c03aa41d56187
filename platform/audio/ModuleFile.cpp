#include "platform/audio/ModuleFile.h"

#include "platform/RegularFile.h"

#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <exception>
#include <sstream>

namespace {

/// Every subsong with its name and length; selecting each is how libopenmpt tells a length.
QList<Subsong> subsongsOf(openmpt::module& module)
{
    const std::vector<std::string> names = module.get_subsong_names();
    QList<Subsong> subsongs;
    for (std::int32_t index = 0; index < std::max(module.get_num_subsongs(), 1); ++index) {
        module.select_subsong(index);
        const std::string name = index < std::int32_t(names.size()) ? names[std::size_t(index)] : std::string();
        subsongs.append({QString::fromStdString(name).trimmed(), module.get_duration_seconds(),
                         module.get_current_order()});
    }
    // A subsong's orders run up to where the next one in the order list starts, without the
    // marks that end it.
    for (Subsong& subsong : subsongs) {
        subsong.endOrder = module.get_num_orders();
        for (const Subsong& other : subsongs) {
            if (other.firstOrder > subsong.firstOrder)
                subsong.endOrder = std::min(subsong.endOrder, other.firstOrder);
        }
        while (subsong.endOrder - 1 > subsong.firstOrder
               && module.get_order_pattern(subsong.endOrder - 1) >= module.get_num_patterns())
            --subsong.endOrder;
    }
    return subsongs;
}

std::vector<InstrumentInfo> instrumentInfos(const openmpt::module& module)
{
    const auto names = module.get_num_instruments() > 0 ? module.get_instrument_names()
                                                        : module.get_sample_names();
    std::vector<InstrumentInfo> infos(names.size());
    std::transform(names.begin(), names.end(), infos.begin(),
                   [](const std::string& name) { return InstrumentInfo{fixedText(name)}; });
    return infos;
}

quint32 count(std::int32_t value) { return static_cast<quint32>(std::max(value, 0)); }

/// Why the file at path was not read whole (RegularFile::ReadAll gave nothing).
QString unreadReason(const QString& path)
{
    if (RegularFile::Size(path) > kMaxModuleFileBytes)
        return QStringLiteral("file larger than %1 MiB").arg(kMaxModuleFileBytes / (1024 * 1024));
    return QStringLiteral("no regular file that can be read");
}

/// libopenmpt's reason for refusing a module: the lines it logged while loading, then what it
/// threw.
QString refusal(const std::string& log, const char* thrown)
{
    QStringList parts = QString::fromStdString(log).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    parts.append(QString::fromUtf8(thrown));
    return parts.join(QStringLiteral("; "));
}

}  // namespace

LoadedModule::LoadedModule() = default;
LoadedModule::~LoadedModule() = default;

bool LoadedModule::moveWithinSong(const std::function<void(openmpt::module&)>& move)
{
    try {
        move(*module);
    } catch (...) {
        return false;
    }
    songEnded = false;
    return true;
}

std::array<char, 32> fixedText(const std::string& text)
{
    std::array<char, 32> fixed{};
    std::size_t length = std::min(text.size(), fixed.size());
    // Never leave half a character: back off over UTF-8 continuation bytes.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::copy_n(text.begin(), length, fixed.begin());
    return fixed;
}

std::unique_ptr<LoadedModule> loadModuleFile(const QString& path, QString* error)
{
    QString ignored;
    QString& reason = error ? *error : ignored;
    reason.clear();
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxModuleFileBytes);
    if (!bytes) {
        reason = unreadReason(path);
        return nullptr;
    }
    if (bytes->isEmpty()) {
        reason = QStringLiteral("empty file");
        return nullptr;
    }
    // Outlives the module's log, which writes here while the module loads.
    std::stringbuf loadLog;
    try {
        auto loaded = std::make_unique<LoadedModule>();
        loaded->log.rdbuf(&loadLog);
        loaded->module = std::make_unique<openmpt::module_ext>(bytes->constData(), std::size_t(bytes->size()), loaded->log);
        loaded->log.rdbuf(nullptr);
        loaded->interactive = static_cast<openmpt::ext::interactive*>(
            loaded->module->get_interface(openmpt::ext::interactive_id));
        openmpt::module& module = *loaded->module;
        module.set_repeat_count(0);
        module.ctl_set_text("play.at_end", "continue");
        // A seek into a held note finds it sounding, not silent until the next note.
        module.ctl_set_boolean("seek.sync_samples", true);
        loaded->instruments = instrumentInfos(module);
        loaded->info.songName = fixedText(module.get_metadata("title"));
        const QString title = NameText(loaded->info.songName);
        loaded->streamName = (title.isEmpty() ? QFileInfo(path).fileName() : title).toStdString();
        loaded->info.songLength = count(module.get_num_orders());
        loaded->info.patternCount = count(module.get_num_patterns());
        loaded->info.instrumentCount = static_cast<quint32>(loaded->instruments.size());
        loaded->info.channelCount = count(module.get_num_channels());
        loaded->details.subsongs = subsongsOf(module);
        module.select_subsong(0);
        loaded->details.durationSeconds = loaded->details.subsongs.value(0).seconds;
        // The raw message only: libopenmpt's "message" falls back to sample names.
        loaded->details.message = QString::fromStdString(module.get_metadata("message_raw"));
        loaded->details.artist = QString::fromStdString(module.get_metadata("artist"));
        return loaded;
    } catch (const std::exception& thrown) {
        // Whatever libopenmpt throws (no module, damaged data, no memory) means "no module".
        reason = refusal(loadLog.str(), thrown.what());
        return nullptr;
    } catch (...) {
        reason = refusal(loadLog.str(), "unknown error");
        return nullptr;
    }
}
