#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QLabel;
class QProgressBar;

/// Shows how saving songs as audio files goes: which file of how many, the percent done of
/// all, and the time left; its Cancel button (and closing it) asks to stop. Not modal: the
/// window and the music go on meanwhile. GUI thread only.
class SongFileProgressDialog : public QDialog {
    Q_OBJECT
public:
    /// For files files in all.
    SongFileProgressDialog(int files, QWidget* parent);

    /// File index (from 0), written as name, has begun.
    void showFile(int index, const QString& name);
    /// The file begun last has come fraction (0 to 1) of its way.
    void showProgress(double fraction);

    /// "1:05" for seconds left, from 1 up; "less than a second" below.
    static QString TimeLeftText(double seconds);

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    int m_files;
    int m_index = 0;
    QElapsedTimer m_clock;  // since the first file began
    QLabel* m_file = nullptr;
    QLabel* m_name = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_timeLeft = nullptr;
};
