#pragma once

// The about window: the program's name and version, a picture and credits that roll upward.

#include <QDialog>
#include <QString>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class TBanner;

/// "About", shown modally by its caller (who pauses the main banner around it) and destroyed
/// right after. The credits in Banner1 roll upward, 3 pixels every 150 ms and without a gap
/// between their end and their start, only while the window is shown; each new window starts
/// them from the beginning. A double click on the window's background (not on a control) shows
/// the message "My BMW 328i rulez!". GUI thread only.
class TAboutWindow : public QDialog {
    Q_OBJECT

public:
    /// Shows text in a plain message box with OK; replaceable so that tests record it.
    using MessageBox = std::function<void(const QString& text)>;

    explicit TAboutWindow(QWidget* owner = nullptr);

    /// Replaces the message box of FormDblClick.
    void SetMessageBox(MessageBox show) { m_showMessage = std::move(show); }

    /// Starts the credits and makes the two title lines bold.
    void FormShow();
    /// Stops the credits.
    void FormHide();
    /// Shows "My BMW 328i rulez!"; reached by a double click on the background only.
    void FormDblClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showPlainMessage(const QString& text);

    QLabel* staCompany = nullptr;
    QLabel* staTagline = nullptr;
    QFrame* panPicture = nullptr;
    QLabel* imgPicture = nullptr;
    QFrame* panBanner = nullptr;
    TBanner* Banner1 = nullptr;
    QLabel* staMadeWith = nullptr;
    QLabel* staDistribution = nullptr;
    QLineEdit* ediContact = nullptr;
    MessageBox m_showMessage;
};
