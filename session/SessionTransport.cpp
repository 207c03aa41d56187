// The session's transport commands: what the media controls and the desktop entry's actions
// ask of the running jukebox.
#include "session/JukeboxSession.h"

void JukeboxSession::RequestPlay()
{
    Request([this] { play(); });
}

void JukeboxSession::play()
{
    if (!m_player->ModulePath().isEmpty()) {
        m_player->ContinuePlaying();
        return;
    }
    const int slot = m_disc->CurrentSlot() != 0 ? m_disc->CurrentSlot() : m_disc->NeighbourSlot(1);
    if (slot != 0)
        PlaySlot(slot, ClassModPlayer::Origin::Outside);
}

void JukeboxSession::RequestPause()
{
    Request([this] { m_player->StopPlaying(); });
}

void JukeboxSession::RequestPlayPause()
{
    Request([this] {
        if (m_player->Playing())
            m_player->StopPlaying();
        else
            play();
    });
}

void JukeboxSession::RequestStop()
{
    Request([this] {
        if (m_player->ModulePath().isEmpty())
            return;
        m_player->StopAtStart();
        m_stoppedAtStart = true;
        emit stoppedAtStart();
    });
}

int JukeboxSession::SlotAway(int step) const
{
    const int slot = m_disc->NeighbourSlot(step);
    return slot != m_disc->CurrentSlot() ? slot : 0;  // a slot is not its own neighbour here
}

void JukeboxSession::RequestNeighbour(int step)
{
    if (const int slot = SlotAway(step))
        RequestSlot(slot);
}
