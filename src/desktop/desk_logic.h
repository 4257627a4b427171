#pragma once
// The main window `ZentDeskTop` as plain C++: what its controls hold and what its
// handlers do. The Qt window is a thin view over it (qt/zent_desk_top.h): it forwards
// events here and repaints from here. The command line and the tests drive this class
// directly, so they do exactly what the window does for the same choices.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/chart.h"
#include "desktop/recompute.h"
#include "desktop/ui_port.h"

namespace zt::desktop {

// A drop-down list: its items, the selected index (-1: none) and the selected text.
struct ComboList {
    std::vector<std::string> items;
    int listIndex = -1;
    std::string text;

    void clear();
    void addItem(std::string item);
    // Selects item i (or none for -1) without running any handler.
    void select(int i);
    // The index of the item with exactly this text, or -1.
    int find(const std::string& item) const;
};

// What the month fields were loaded for, or what "&Registra" writes: the hotel item, the
// statistic, the detail item and the year, as the lists and the year field hold them.
struct GridTarget {
    std::string hotel;
    std::string statistic;
    std::string detail;
    std::string year;
    bool operator==(const GridTarget&) const = default;
};

// Which control has the keyboard focus.
struct Focus {
    enum class Kind { None, Text1, Combo1, Tasto } kind = Kind::None;
    int index = 0;
    bool operator==(const Focus&) const = default;
};

class DeskLogic {
public:
    static constexpr int kText1 = 14;    // Text1(0..13)
    static constexpr int kCombo1 = 6;    // Combo1(0..5)
    static constexpr int kLabel1 = 18;   // Label1(0..17)
    static constexpr int kTasto = 6;     // Tasto(0..5)
    static constexpr int kKeyEnter = 13;

    DeskLogic(ProgramState& state, UiPort& ui, Separators separators);

    // ---- what the controls hold -------------------------------------------------
    static constexpr const char* kCaption = "Zentorio Mensile / Annuale";
    std::string caption = kCaption;
    std::array<std::string, kText1> text1{};
    std::array<ComboList, kCombo1> combo1{};
    std::array<std::string, kLabel1> label1{};
    std::array<std::string, kTasto> tasto{};
    Chart graph1;
    Focus focus;
    // Selection of the focused text field (start, length), set on focus.
    int selStart = 0;
    int selLength = 0;
    // Set when the window is to close (access refused, "&Esci", a fatal start-up
    // problem); the view closes itself when it sees it.
    bool unloaded = false;
    // Where "&Stampa" writes the report: the working folder's report file when empty.
    std::filesystem::path reportFile;

    // ---- events -----------------------------------------------------------------
    // On load: the start-up sequence. `today` gives the year for Text1(0).
    void load(int currentYear);
    // On activation: unloads the window when access was not granted.
    void activate();
    // A list selection by the user or by the program: selects item `item` of
    // Combo1(index) and runs the selection handler.
    void chooseItem(int index, int item);
    // The selection handler for Combo1(index), on the list's current selection.
    void combo1Click(int index);
    // A text field gets the focus: its whole text is selected.
    void text1GotFocus(int index);
    // A key pressed in Text1(index); Enter (13) walks the fields.
    void text1KeyPress(int index, int keyAscii);
    // A button of Tasto(index).
    void tastoClick(int index);

    // ---- public operations of the window ----------------------------------------
    // Year differences: the year in Text1(0) as data set 1 and the year in Text1(13)
    // as data set 2. DiffAnno sums `Dettaglio`; DiffAnno1 (arrivals) and DiffAnno2
    // (departures) read `Zentoria`.
    void DiffAnno();
    void DiffAnno1();
    void DiffAnno2();
    // Month comparison: statistic A (Combo1(0), Combo1(1)) divided by statistic B
    // (Combo1(4), Combo1(5)) month by month, for the year in Text1(0).
    void RepaDiff();

    // The hotel number a hotel list item starts with: the whole part of the number in
    // its first three characters.
    static double hotelNumberOf(std::string_view item);

    // What the month fields were last loaded for (the grid, or a detail of "&Aggiorna");
    // nullopt before the first load.
    const std::optional<GridTarget>& loadedFor() const { return loadedFor_; }
    // What the lists and the year field choose now.
    GridTarget currentTarget() const;

    // What the last "&Aggiorna" recomputed (for the command line); nullopt before.
    const std::optional<RecomputeResult>& lastRecompute() const { return lastRecompute_; }

    // Called after each step that changes what the window shows, so a view can repaint
    // while a long operation runs.
    std::function<void()> onChange;

    // The program state this window sets and reads.
    ProgramState& state() { return state_; }

    // Runs fn; an error is shown in the program's message box and the window keeps
    // running. Returns false when fn failed.
    bool guarded(const std::function<void()>& fn);

private:
    ProgramState& state_;
    UiPort& ui_;
    Separators sep_;

    void changed();
    void setupControls();
    void selectionTitle();
    // The chart titled with the selection, the twelve month fields and points empty.
    void emptyGrid();
    void loadGrid();
    void selectHotel();
    std::optional<RecomputeResult> lastRecompute_;
    std::optional<GridTarget> loadedFor_;
    bool confirmed();
    // Tells the user why a button does nothing (a warning, no question).
    void refuse(const std::string& message);
    // Why "&Registra" cannot write the current choice; nullopt when it can.
    std::optional<std::string> registraProblem() const;
    // The question of "&Registra": what is written, which months are empty, and a
    // warning when the fields were loaded for another choice. Sets the style to ask with.
    std::string registraQuestion(const std::array<bool, 12>& empty, int& style) const;
    void aggiorna();
    void summaryWritable();
    void stampa();
    void registra();
    // The common opening of the year differences; false when the operation ends there.
    bool diffOpening();
    void diffFromSummary(bool arrivals);
    // Start-up steps 2 and 3: reads "Security.pwd" and shows the access gate; true
    // when access is granted.
    bool passAccessGate();
};

}  // namespace zt::desktop
