#pragma once
// The main window `ZentDeskTop` ("Zentorio Mensile / Annuale"): a thin view over
// DeskLogic. Its controls keep the names of the control arrays (objectName
// "<Name>_<index>": "Text1_0", "Combo1_2", "Tasto_5", "Label1_3", "Shape1_13", and
// "Graph1"), placed at their positions in twips scaled to the screen. User events go
// down to the logic; after each of them, and whenever the logic reports a change, the
// window repaints from the logic. It is also the logic's UiPort: the message box
// `MsgBox_Form` and the access gate `PasswdSecurity`, both modal.
#include <QWidget>
#include <functional>
#include <array>

#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/desk_logic.h"
#include "desktop/ui_port.h"

class QComboBox;
class QFrame;
class QLabel;
class QAbstractButton;
class QLineEdit;
class QProgressDialog;

namespace zt::desktop {

class ChartView;

class ZentDeskTop : public QWidget, public UiPort {
    Q_OBJECT
public:
    // `ui` replaces the window's own dialogs (tests); nullptr uses them.
    ZentDeskTop(ProgramState& state, Separators separators, UiPort* ui = nullptr, QWidget* parent = nullptr);
    ~ZentDeskTop() override;

    // Load and activation: the start-up sequence (with the access gate), then, when
    // access was granted, the window centres itself on the screen. Returns false when
    // the window unloaded itself (access refused, a start-up failure): it is then not
    // to be shown. `year` is this year for the year field; 0 takes today's.
    bool start(int year = 0);

    DeskLogic& logic() { return logic_; }
    ChartView* chartView() const { return graph_; }
    // Whether the window has unloaded itself ("&Esci", access refused).
    bool isUnloaded() const { return logic_.unloaded; }

    // UiPort: the program's message box and the access gate, modal over this window.
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string accessGate(const GateRequest& request) override;
    void printMenu() override;
    void busy(bool on) override;
    bool progress(const std::string& text) override;
    void progressCount(int done, int total) override;
    void progressDone() override;
    // Where dialogs over the window stand: the chart, in screen coordinates.
    QRect chartArea() const;

    // Pixels for twips at this window's resolution (15 twips a pixel at 96 dpi).
    int px(int twips) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DeskLogic logic_;
    std::array<QLineEdit*, DeskLogic::kText1> text1_{};
    std::array<QComboBox*, DeskLogic::kCombo1> combo1_{};
    std::array<QLabel*, DeskLogic::kLabel1> label1_{};
    std::array<QAbstractButton*, DeskLogic::kTasto> tasto_{};
    std::array<QFrame*, 14> shape1_{};
    ChartView* graph_ = nullptr;
    QProgressDialog* progress_ = nullptr;  // shown while long work runs
    QProgressDialog* serverWait_ = nullptr;  // shown while the figure server keeps us waiting
    std::function<bool(double, bool)> previousWaitHook_;
    // Called while a statement waits for the figure server: after half a second a modal
    // progress dialog with "Annulla", and the window keeps repainting.
    bool serverWaiting(double waitedSeconds, bool done);
    int progressDone_ = 0, progressTotal_ = 0;  // how far it is; 0 of 0: a busy bar
    std::array<std::vector<std::string>, DeskLogic::kCombo1> shownItems_{};
    Focus shownFocus_;
    bool painting_ = false;
    bool closing_ = false;

    void buildControls();
    // Runs a forwarded event's handler, then repaints.
    template <class Fn>
    void forward(Fn&& fn);
    // Copies what the logic holds onto the controls; with paintNow the fields that
    // changed are painted before returning.
    void repaintFromLogic(bool paintNow = false);
    // Gives the focus to the control the logic names.
    void applyFocus();
    // Marks the frame of Text1(index) as holding the focus, or not.
    void markFrame(int index, bool focused);
    // Applies the logic's selection to the focused text field.
    void applySelection(int index);
};

}  // namespace zt::desktop
