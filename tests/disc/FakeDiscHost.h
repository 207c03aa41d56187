#pragma once

#include "disc/DiscHost.h"

#include <QList>
#include <QMap>
#include <QStringList>

/// The session as the disc sees it: records what it is shown and answers the dialogs
/// from fields the test sets.
class FakeDiscHost : public DiscHost {
public:
    struct Menu {
        int x = 0;
        int y = 0;
        bool firstEnabled = false;  // "assign" of the slot menu; unused for disc buttons
        bool clearEnabled = false;
    };

    void SetStatusText(const QString& text) override { statusTexts << text; }
    void SetModulePath(const QString& path) override { modulePath = path; }
    QString CurrentModuleTitle() const override { return currentTitle; }
    int CurrentSubsong() const override { return currentSubsong; }

    void DiscLoaded(const QString& name) override { discFiles << "loaded " + name; }
    void DiscSaved(const QString& name) override { discFiles << "saved " + name; }
    void SetDiscCaption(const QString& caption) override { discCaption = caption; }
    void SetDiscButtonCaption(int button, const QString& caption) override
    {
        buttonCaptions[button] = caption;
    }
    void SetSlotHint(int slot, const QString& hint) override { hints[slot] = hint; }
    void SetSlotAssigned(int slot, bool assigned) override { assignedColour[slot] = assigned; }
    void SetSlotCurrent(int slot, bool current) override { boldItalic[slot] = current; }

    void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) override
    {
        slotMenus << Menu{x, y, assignEnabled, clearEnabled};
    }
    void ShowDiscButtonMenu(int x, int y, bool clearEnabled) override
    {
        discButtonMenus << Menu{x, y, true, clearEnabled};
    }

    QString ChooseDiscFile(const QString& startDirectory) override
    {
        openDialogStarts << startDirectory;
        return openDialogAnswer;
    }
    QString ChooseSaveDiscFile() override
    {
        ++saveDialogs;
        return saveDialogAnswer;
    }
    QString ChooseDirectory(int kind) override
    {
        directoryKinds << kind;
        return directoryAnswer;
    }

    // What the disc showed and asked for.
    QStringList statusTexts;
    QString modulePath;
    QString discCaption;
    QStringList discFiles;  // "loaded <name>" or "saved <name>", in order
    QMap<int, QString> buttonCaptions;
    QMap<int, QString> hints;
    QMap<int, bool> assignedColour;
    QMap<int, bool> boldItalic;
    QList<Menu> slotMenus;
    QList<Menu> discButtonMenus;
    QStringList openDialogStarts;
    int saveDialogs = 0;
    QList<int> directoryKinds;

    // What the window and its dialogs answer.
    QString currentTitle;
    int currentSubsong = 0;
    QString openDialogAnswer;
    QString saveDialogAnswer;
    QString directoryAnswer;
};
