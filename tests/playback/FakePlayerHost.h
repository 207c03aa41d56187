#pragma once

#include "platform/audio/AudioLibrary.h"
#include "playback/PlayerHost.h"

/// The session as the player sees it, recording what it is told.
class FakePlayerHost : public PlayerHost {
public:
    void SetStatusText(const QString& text) override { statusTexts << text; }
    void SetBufferText(const QString& text) override { bufferText = text; }
    void SetPositionText(const QString& text) override { positionText = text; }
    void SetTimeText(const QString& text) override { timeText = text; }
    void SetModulePath(const QString& path) override { modulePath = path; }
    void ShowModuleInfo(const ModuleInfo& info, const QString& path) override
    {
        bannerText = QString::number(info.songLength) + " orders of " + path;
    }
    void ShowNoModule() override { bannerText = "> No module loaded <"; }
    void ForgetCurrentSlot() override { ++slotsForgotten; }
    bool PlaysDiscSlot() const override { return playsDiscSlot; }
    void PlayNextSlot() override { ++nextSlotsPlayed; }
    void QueuedModuleFollows() override { ++queuedFollowed; }
    QString ChooseDirectory(int kind) override
    {
        chooserKinds << kind;
        return chosenDirectory;
    }
    QString RenameModuleDialog(const QString& path) override
    {
        renamed << path;
        return renameResult;
    }
    void ModulePathChanged(const QString& path) override
    {
        changedPaths << path;
        modulePath = path;
    }
    std::optional<SongLevel> SongLevelOf(const QString&, int) override { return SongLevel(); }
    void SetInfoView(bool visible) override { infoVisible = visible; }
    void SetInfoLines(const QStringList& lines) override { infoLines = lines; }

    int queuedFollowed = 0;
    QStringList statusTexts;
    QString bufferText;
    QString timeText;
    QString positionText;
    QString modulePath;
    QString bannerText;
    int slotsForgotten = 0;
    bool playsDiscSlot = false;
    int nextSlotsPlayed = 0;
    QList<int> chooserKinds;
    QString chosenDirectory;
    QStringList renamed;
    QString renameResult;
    QStringList changedPaths;
    bool infoVisible = false;
    QStringList infoLines;
};
