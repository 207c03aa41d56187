#include "session/OutsideRequests.h"

#include "playback/ClassModPlayer.h"

#include <algorithm>

namespace {
// While the user answers, the line is looked at this often: cheap, and quick enough to seem
// immediate once the box has closed.
constexpr int kAnswerCheckMs = 100;
}  // namespace

OutsideRequests::OutsideRequests(Report report) : m_report(std::move(report))
{
    m_turn.setSingleShot(true);
    connect(&m_turn, &QTimer::timeout, this, &OutsideRequests::RunWaiting);
}

void OutsideRequests::Submit(Kind kind, const QString& name, std::function<void()> run)
{
    if (kind == Kind::ModuleChange) {
        const auto earlier = std::find_if(m_waiting.begin(), m_waiting.end(),
                                          [](const Request& r) { return r.kind == Kind::ModuleChange; });
        if (earlier != m_waiting.end()) {
            Drop(*earlier);
            m_waiting.erase(earlier);
        }
    }
    if (m_waiting.size() >= kMaxWaiting) {
        Drop(m_waiting.front());
        m_waiting.pop_front();
    }
    m_waiting.push_back({kind, name, std::move(run)});
    if (!m_turn.isActive())
        m_turn.start(0);
}

void OutsideRequests::Drop(const Request& request)
{
    if (!request.name.isEmpty())
        m_report(ClassModPlayer::SkippedText(request.name));
}

void OutsideRequests::RunWaiting()
{
    // A request that opens a box runs the box's event loop: the line waits for the box, and
    // for the request that opened it.
    if (m_running || (m_answering && m_answering())) {
        m_turn.start(kAnswerCheckMs);
        return;
    }
    m_running = true;
    while (!m_waiting.empty() && !(m_answering && m_answering())) {
        const Request request = std::move(m_waiting.front());
        m_waiting.pop_front();
        request.run();
    }
    m_running = false;
    if (!m_waiting.empty())
        m_turn.start(kAnswerCheckMs);
}
