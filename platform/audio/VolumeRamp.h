#pragma once

/// The music volume as a gain that glides to each new value instead of jumping, so a change
/// of volume never clicks. A full swing (0 to 1) takes kRampMs; smaller ones take less.
/// Not thread-safe: owned by one OutputRenderer, used under the device lock.
class VolumeRamp {
public:
    static constexpr int kRampMs = 10;

    /// rate: output frames per second.
    explicit VolumeRamp(int rate) : m_step(1.0f / (static_cast<float>(rate) * kRampMs / 1000.0f)) {}

    /// The gain to glide to, 0 to 1.
    void setTarget(float gain) { m_target = gain; }
    /// Starts from silence, so that sound resuming mid-waveform fades in.
    void restartFromSilence() { m_gain = 0.0f; }

    bool isSteady() const { return m_gain == m_target; }
    float gain() const { return m_gain; }

    /// The gain for the next frame.
    float next()
    {
        if (m_gain < m_target)
            m_gain = m_target - m_gain > m_step ? m_gain + m_step : m_target;
        else if (m_gain > m_target)
            m_gain = m_gain - m_target > m_step ? m_gain - m_step : m_target;
        return m_gain;
    }

private:
    float m_step;
    float m_gain = 1.0f;
    float m_target = 1.0f;
};
