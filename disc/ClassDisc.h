#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <utility>

class ClassOptions;
class DiscHost;

/// The program's one disc: 20 numbered module slots and two disc buttons, each naming another
/// disc file. Holds the disc in memory, shows it through the host (group box, disc buttons,
/// slot buttons), runs the disc commands, reads and writes the disc file and moves a disc with
/// all its modules to another directory.
///
/// Slot numbers are 1 to 20 and disc button numbers 1 or 2; other slot numbers are ignored,
/// and any disc button number other than 1 means button 2. A slot path is a full path or a
/// bare file name in the disc file's own directory; a path of length 0 or 1 means the slot is
/// empty. Reports go to the host's status text and to CJKMessages boxes; nothing throws.
/// GUI thread only.
class ClassDisc {
public:
    static constexpr int kSlotCount = 20;
    /// The disc file name when there is none; it also stands in the disc file.
    static inline const QString kNoDiscLoaded = QStringLiteral("(no disc loaded)");
    /// The path of an unassigned disc button, in memory and in the disc file.
    static inline const QString kNoDiscSelected = QStringLiteral("(no disc selected)");

    /// An empty disc shown at once. host and options are not owned and must outlive the disc.
    ClassDisc(DiscHost& host, ClassOptions& options);
    /// Removes the current slot's marking; neither asks nor saves.
    ~ClassDisc();
    ClassDisc(const ClassDisc&) = delete;
    ClassDisc& operator=(const ClassDisc&) = delete;

    // Disc commands (ClassDiscCommands.cpp).
    /// After the save question, an empty disc.
    void NewDisc();
    /// After the save question, the disc chosen in the open dialog.
    void OpenDisc();
    /// Saves to the disc file, or asks for a name when there is none.
    void SaveDisc();
    /// Saves under a name chosen in the save dialog and remembers its directory.
    void SaveDiscAs();
    /// After the save question, an empty disc.
    void CloseDisc();
    /// Offers to save a changed disc (message 30000). True when the caller must abort (Cancel);
    /// Yes saves (whether or not that works) and No discards, both returning false.
    bool QuerySave();
    // Slots (ClassDisc.cpp).
    /// The module slot n holds, as a path to load: a bare name is found in the disc file's
    /// directory. Empty for an empty slot or another number.
    QString SlotModulePath(int n) const;
    /// Slot n becomes the current one, shown so; the one before is no longer. Nothing for
    /// another number.
    void SetCurrentSlot(int n);
    /// The slot holding a module after (step 1) or before (step -1) the current slot, wrapping
    /// around; the first (or last) such slot when none is current; 0 when no slot holds one.
    /// With a single module the current slot is its own neighbour.
    int NeighbourSlot(int step) const { return NeighbourSlot(m_currentSlot, step); }
    /// The same from slot from (0: none) instead of the current slot.
    int NeighbourSlot(int from, int step) const;
    /// Opens the slot menu of slot n at screen point (x, y).
    void ShowSlotMenu(int n, int x, int y);
    /// Puts path (a full module path), the current module title and the subsong that plays
    /// into slot n, which becomes current; the disc counts as changed.
    void AssignSlot(int n, const QString& path);
    /// Puts path (a full module path) with title into slot n, to play from subsong (from 0),
    /// without making it current; the disc counts as changed. Nothing for another number.
    void PutModule(int n, const QString& path, const QString& title, int subsong = 0);
    /// After the save question, a new disc (no file yet, as after NewDisc) whose slots hold
    /// modules in order, each a full path and its title; those past kSlotCount are left out.
    /// False when the question was cancelled.
    bool NewDiscWith(const QList<std::pair<QString, QString>>& modules);
    /// AssignSlot / clearing for the slot whose menu was opened last.
    void AssignPopupSlot(const QString& path);
    void ClearPopupSlot();
    /// The player closed its module, or another slot's loads: no slot is current any more.
    void ForgetCurrentSlot();
    /// The loaded module was moved or renamed to path, or deleted (path empty); the current
    /// slot, if any, follows it.
    void ModulePathChanged(const QString& path);

    // Disc buttons (ClassDiscCommands.cpp).
    /// After the save question, loads the disc of button b; message 4000 when it has none.
    void OpenDiscButton(int b);
    /// Opens the disc button menu of button b at screen point (x, y).
    void ShowDiscButtonMenu(int b, int x, int y);
    /// Assigns a disc chosen in the open dialog to the button whose menu was opened last.
    void BrowseDiscButton();
    /// Unassigns the button whose menu was opened last.
    void ClearDiscButton();

    // Disc file (ClassDiscFile.cpp).
    /// Writes the disc to name, with ".jkdc" appended unless it ends so in any case. True when
    /// written; otherwise message 3100 and the file on disk is as it was.
    bool SaveToFile(const QString& name);
    /// Replaces the disc with the content of the disc file name; an empty disc and message
    /// 3000 when it is missing or not a disc file.
    void LoadFromFile(const QString& name);

    /// Moves every module of the saved disc and the disc file into a directory chosen by the
    /// user; the slots then name their modules by bare file name (MoveAllTo.cpp).
    void MoveAllTo();

    // State.
    /// Slot n's path and title as held (one blank after clearing); empty outside 1 to 20.
    QString SlotPath(int n) const;
    QString SlotTitle(int n) const;
    /// The subsong (from 0) slot n plays: 0 unless the slot was given another one.
    int SlotSubsong(int n) const { return validSlot(n) ? m_slotSubsongs[n - 1] : 0; }
    /// Full name of the disc file, or kNoDiscLoaded.
    const QString& DiscFileName() const { return m_discFileName; }
    /// Disc button b's disc file as chosen, or kNoDiscSelected.
    const QString& DiscButtonPath(int b) const { return m_discButtonPaths[buttonIndex(b)]; }
    /// The slot last made current (played or assigned), 0 for none.
    int CurrentSlot() const { return m_currentSlot; }
    /// Whether the current slot still holds its module: not cleared, nor its disc closed.
    bool CurrentSlotAssigned() const { return validSlot(m_currentSlot) && assigned(m_currentSlot); }
    /// The disc has changes not yet saved.
    bool Changed() const { return m_changed; }

private:
    static bool validSlot(int n) { return n >= 1 && n <= kSlotCount; }
    static int buttonIndex(int b) { return b == 1 ? 0 : 1; }
    /// A slot with a path longer than one character holds a module.
    bool assigned(int n) const { return m_slotPaths[n - 1].size() > 1; }

    void ClearAll();
    /// Slot n's hint: its title, and its subsong where that is not the first.
    QString SlotHint(int n) const;
    void ClearSlot(int n);
    void RefreshDisplay();
    /// path itself when it has a directory part, else the disc file's directory followed by it.
    QString ResolvePath(const QString& path) const;
    void MarkCurrentSlot();
    void UnmarkCurrentSlot();
    /// After the save question, the open dialog's choice; empty when cancelled.
    QString ChooseDiscFile();
    /// A clash of module file names that moving would bring into one directory.
    bool HasNameClash() const;

    DiscHost& m_host;
    ClassOptions& m_options;
    QString m_discFileName;
    QString m_discButtonPaths[2];
    int m_currentSlot = 0;
    QStringList m_slotPaths;
    QStringList m_slotTitles;
    std::array<int, kSlotCount> m_slotSubsongs{};
    int m_popupSlot = 0;
    int m_popupDiscButton = 0;
    bool m_changed = false;
};
