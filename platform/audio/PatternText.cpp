#include "platform/audio/PatternText.h"

#include "platform/RegularFile.h"
#include "platform/audio/ModuleFile.h"

#include <libopenmpt/libopenmpt.hpp>

#include <sstream>

std::unique_ptr<PatternText> PatternText::open(const QString& path)
{
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxModuleFileBytes);
    if (!bytes || bytes->isEmpty())
        return nullptr;
    std::ostringstream log;  // what libopenmpt says of a file it plays already is said there
    try {
        return std::unique_ptr<PatternText>(new PatternText(
            std::make_unique<openmpt::module>(bytes->constData(), std::size_t(bytes->size()), log)));
    } catch (...) {
        return nullptr;
    }
}

PatternText::PatternText(std::unique_ptr<openmpt::module> module) : m_module(std::move(module)) {}

PatternText::~PatternText() = default;

int PatternText::channels() const
{
    return m_module->get_num_channels();
}

QList<int> PatternText::orderPatterns() const
{
    QList<int> patterns;
    const int patternCount = m_module->get_num_patterns();
    for (int order = 0; order < m_module->get_num_orders(); ++order) {
        const int pattern = m_module->get_order_pattern(order);
        patterns.append(pattern >= 0 && pattern < patternCount ? pattern : -1);
    }
    return patterns;
}

int PatternText::rows(int pattern) const
{
    if (pattern < 0 || pattern >= m_module->get_num_patterns())
        return 0;
    return m_module->get_pattern_num_rows(pattern);
}

QString PatternText::cell(int pattern, int row, int channel) const
{
    if (row < 0 || row >= rows(pattern) || channel < 0 || channel >= channels())
        return QString();
    try {
        return QString::fromStdString(m_module->format_pattern_row_channel(pattern, row, channel, 0, true));
    } catch (...) {
        return QString();
    }
}

QString PatternText::channelName(int channel) const
{
    const std::vector<std::string> names = m_module->get_channel_names();
    return channel >= 0 && std::size_t(channel) < names.size() ? QString::fromStdString(names[channel]).trimmed()
                                                               : QString();
}
