#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

/// Requests from outside the window: a second start, the desktop's media controls, a disc
/// playing through. Each waits for its turn on the event loop, never inside a caller, and
/// while the user answers a box, a dialog or a menu they all wait until it has closed, so that
/// no box ever opens inside another. The waiting line stays short: a request for another
/// module replaces the one waiting before it (the latest wins), and past kMaxWaiting the
/// oldest gives way; a dropped request that names a file is named in the status bar.
/// GUI thread only.
class OutsideRequests : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 32;

    /// Whether a box, dialog or menu waits for the user's answer now.
    using Answering = std::function<bool()>;
    /// Puts a text into the status bar.
    using Report = std::function<void(const QString& text)>;

    explicit OutsideRequests(Report report);
    void SetAnswering(Answering answering) { m_answering = std::move(answering); }

    enum class Kind { Command, ModuleChange };
    /// Runs run in its turn. name is the file it opens, where it opens one.
    void Submit(Kind kind, const QString& name, std::function<void()> run);

private:
    struct Request {
        Kind kind;
        QString name;
        std::function<void()> run;
    };
    void Drop(const Request& request);
    void RunWaiting();

    Report m_report;
    Answering m_answering;
    std::deque<Request> m_waiting;
    QTimer m_turn;
    bool m_running = false;
};
