#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace openmpt {
class module;
}

/// The patterns of a module file as a tracker shows them: each row of each channel as note,
/// instrument, volume and effect in the usual notation ("C-4 01 v64 A0F"). Read from a module
/// of its own, so that a view never competes with the sound device for the module that plays
/// (pattern data does not change while it plays). GUI thread.
class PatternText {
public:
    /// The module at path; null where it cannot be read or is no module.
    static std::unique_ptr<PatternText> open(const QString& path);
    ~PatternText();
    PatternText(const PatternText&) = delete;
    PatternText& operator=(const PatternText&) = delete;

    int channels() const;
    /// The pattern at each order position; -1 where the order list holds a mark (skip, end).
    QList<int> orderPatterns() const;
    /// Rows of pattern; 0 for one that does not exist.
    int rows(int pattern) const;
    /// One row of one channel, all its columns; empty outside the pattern.
    QString cell(int pattern, int row, int channel) const;
    /// The channel's name where the module gives it one; empty otherwise.
    QString channelName(int channel) const;

private:
    explicit PatternText(std::unique_ptr<openmpt::module> module);
    std::unique_ptr<openmpt::module> m_module;
};
