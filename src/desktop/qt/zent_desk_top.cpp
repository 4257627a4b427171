#include "desktop/qt/zent_desk_top.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QValidator>
#include <functional>

#include "desktop/qt/chart_view.h"
#include "desktop/qt/msgbox_form.h"
#include "desktop/qt/passwd_security.h"
#include "report/qt/menu_stampa.h"
#include "store/postgres/pg_connection.h"

namespace zt::desktop {

namespace {

// ---- the layout, in twips: Left, Top, Width, Height ---------------------------------

struct Place {
    int left, top, width, height;
};

constexpr int kClientWidth = 11415;
constexpr int kClientHeight = 9300;

Place text1Place(int i) {
    if (i == 0) return {720, 240, 615, 285};
    if (i == 13) return {1680, 7920, 855, 285};
    return {2280, 1680 + 480 * (i - 1), 1095, 285};
}

// The frame around a text field: 120 twips wider on each side, at the same top, 375 high.
Place shape1Place(int i) {
    const Place t = text1Place(i);
    return {t.left - 120, t.top, t.width + 240, 375};
}

Place label1Place(int i) {
    switch (i) {
        case 0: return {120, 240, 495, 255};
        case 1: return {120, 720, 495, 255};
        case 2: return {120, 1200, 495, 255};
        case 15: return {120, 7440, 735, 255};
        case 16: return {120, 7920, 1215, 255};
        case 17: return {3600, 7440, 1095, 255};
        default: return {120, 1680 + 480 * (i - 3), 2040, 255};  // the month captions
    }
}

constexpr Place kCombo1Place[DeskLogic::kCombo1] = {
    {600, 720, 2895, 360},  {600, 1200, 2895, 360},  {1560, 240, 1932, 360},
    {840, 7440, 2652, 360}, {4680, 7440, 3132, 360}, {4680, 7800, 3132, 360}};

constexpr Place kTastoPlace[DeskLogic::kTasto] = {
    {5040, 8280, 1335, 975}, {9720, 8040, 1575, 1215}, {3600, 8280, 1335, 975},
    {6480, 8280, 1335, 975}, {7920, 7440, 1575, 375},  {2880, 7920, 615, 360}};

constexpr Place kGraph1Place = {3600, 240, 7695, 7095};

// ---- fonts, with look-alikes where the originals are not installed -------------------

QFont font(const QStringList& families, double points, bool bold = false) {
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont fieldFont() { return font({"Arial", "Liberation Sans", "Arimo", "Helvetica", "DejaVu Sans"}, 9.75); }
QFont labelFont() { return font({"Corbel", "Carlito", "Liberation Sans", "DejaVu Sans"}, 9.75); }
QFont buttonFont(bool bold) { return font({"Corbel", "Carlito", "Liberation Sans", "DejaVu Sans"}, 12, bold); }

// Narrows a label's font just enough for its whole text to fit its width (the captions
// were measured in a narrow face that a fallback may not match).
void fitText(QLabel* label) {
    QFont f = labelFont();
    const int natural = QFontMetrics(f).horizontalAdvance(label->text());
    const int room = label->width() - 1;
    if (natural > room && natural > 0) f.setStretch(std::max(60, room * 100 / natural));
    label->setFont(f);
}

// The room a frameless field has for its text: its width less the text margins and
// the two pixels QLineEdit keeps on each side.
int textRoom(const QLineEdit* field) {
    const QMargins m = field->textMargins();
    return field->contentsRect().width() - m.left() - m.right() - 4;
}

// A month field shows its whole value, sign included: a value wider than the field is
// drawn in narrower letters, then in smaller ones (down to 6 points at 60% width, enough
// for the widest amount a Currency holds); what still does not fit starts at its first
// character. The tooltip then shows the value at full size.
void fitMonthField(QLineEdit* field) {
    const QString text = field->text();
    const int room = textRoom(field);
    QFont f = fieldFont();
    auto width = [&](const QFont& font) { return QFontMetrics(font).horizontalAdvance(text); };
    const bool natural = width(f) <= room;
    for (double points = 9.25; !natural && points >= 7.5 && width(f) > room; points -= 0.25) f.setPointSizeF(points);
    for (int stretch = 95; !natural && stretch >= 60 && width(f) > room; stretch -= 5) f.setStretch(stretch);
    for (double points = 7.25; !natural && points >= 6 && width(f) > room; points -= 0.25) f.setPointSizeF(points);
    if (field->font() != f) field->setFont(f);
    const bool fits = width(f) <= room;
    const Qt::Alignment align = (fits ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    if (field->alignment() != align) field->setAlignment(align);
    field->setToolTip(natural ? QString() : text);
    if (!fits && !field->hasFocus()) field->setCursorPosition(0);
}

// The picture of "&Esci": an open door with an arrow going out.
QIcon exitIcon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 3));
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawRect(QRectF(10, 6, 30, 52));  // the door frame
    QPainterPath door;
    door.moveTo(10, 6);
    door.lineTo(28, 12);
    door.lineTo(28, 62);
    door.lineTo(10, 58);
    door.closeSubpath();
    p.setPen(QPen(QColor(0x6b, 0x3e, 0x1c), 2));
    p.setBrush(QColor(0xa8, 0x6a, 0x32));
    p.drawPath(door);
    p.setBrush(QColor(0xf0, 0xc0, 0x40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(24, 36), 2.2, 2.2);  // the handle
    QPainterPath arrow;
    arrow.moveTo(34, 28);
    arrow.lineTo(48, 28);
    arrow.lineTo(48, 20);
    arrow.lineTo(62, 33);
    arrow.lineTo(48, 46);
    arrow.lineTo(48, 38);
    arrow.lineTo(34, 38);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x12, 0x12), 2));
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawPath(arrow);
    return QIcon(pm);
}

// At most n characters typed; texts set by the program are not cut.
class MaxLength : public QValidator {
public:
    MaxLength(int n, QObject* parent) : QValidator(parent), n_(n) {}
    State validate(QString& input, int&) const override { return input.size() <= n_ ? Acceptable : Invalid; }

private:
    int n_;
};

// A text field of the grid: reports getting the focus (after a click too, once the
// click has placed the cursor) and Enter.
class FieldEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onFocus;
    std::function<void()> onBlur;
    std::function<void()> onEnter;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        selectOnRelease_ = e->reason() == Qt::MouseFocusReason;
        if (onFocus) onFocus();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (onBlur) onBlur();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLineEdit::mouseReleaseEvent(e);
        if (selectOnRelease_) {
            selectOnRelease_ = false;
            if (!hasSelectedText() && onFocus) onFocus();
        }
    }
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && onEnter) {
            e->accept();
            onEnter();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

private:
    bool selectOnRelease_ = false;
};

}  // namespace

ZentDeskTop::ZentDeskTop(ProgramState& state, Separators separators, UiPort* ui, QWidget* parent)
    : QWidget(parent), logic_(state, ui ? *ui : static_cast<UiPort&>(*this), std::move(separators)) {
    setObjectName("ZentDeskTop");
    buildControls();
    // A change reported in the middle of a long operation is painted at once.
    logic_.onChange = [this] { repaintFromLogic(true); };
    previousWaitHook_ =
        store::setServerWaitHook([this](double waited, bool done) { return serverWaiting(waited, done); });
    repaintFromLogic();
}

bool ZentDeskTop::serverWaiting(double waitedSeconds, bool done) {
    if (done) {
        if (serverWait_) {
            serverWait_->hide();
            serverWait_->deleteLater();
            serverWait_ = nullptr;
        }
        return true;
    }
    if (waitedSeconds < 0.5) return true;
    if (!serverWait_) {
        // Window-modal: while it is up, nothing else of the window takes input, so no
        // other operation starts in the middle of this one.
        serverWait_ = new QProgressDialog(tr("In attesa del server delle cifre…"), tr("Annulla"), 0, 0, this);
        serverWait_->setObjectName("ServerWait");
        serverWait_->setWindowTitle(tr("Zentoria"));
        serverWait_->setWindowModality(Qt::WindowModal);
        serverWait_->setMinimumDuration(0);
        serverWait_->setAutoClose(false);
        serverWait_->setAutoReset(false);
        serverWait_->show();
    }
    // The window and the dialog repaint; a click of "Annulla" cancels the statement.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return serverWait_ && !serverWait_->wasCanceled();
}

ZentDeskTop::~ZentDeskTop() {
    store::setServerWaitHook(std::move(previousWaitHook_));
    logic_.onChange = nullptr;
    graph_->unbind();
}

template <class Fn>
void ZentDeskTop::forward(Fn&& fn) {
    logic_.guarded(std::forward<Fn>(fn));
    repaintFromLogic();
}

int ZentDeskTop::px(int twips) const { return qRound(twips / 15.0 * logicalDpiX() / 96.0); }

void ZentDeskTop::buildControls() {
    setFixedSize(px(kClientWidth), px(kClientHeight));
    auto place = [this](QWidget* w, const Place& p) { w->setGeometry(px(p.left), px(p.top), px(p.width), px(p.height)); };

    // The frames first, so the fields lie on them.
    for (int i = 0; i < static_cast<int>(shape1_.size()); ++i) {
        auto* shape = new QFrame(this);
        shape->setObjectName(QStringLiteral("Shape1_%1").arg(i));
        shape->setFrameShape(QFrame::Box);
        shape->setFrameShadow(QFrame::Plain);
        shape->setLineWidth(1);
        shape->setAutoFillBackground(true);
        QPalette pal = shape->palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
        shape->setPalette(pal);
        place(shape, shape1Place(i));
        shape1_[i] = shape;
    }

    for (int i = 0; i < DeskLogic::kLabel1; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setFont(labelFont());
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(label, label1Place(i));
        label1_[i] = label;
    }

    for (int i = 0; i < DeskLogic::kText1; ++i) {
        auto* field = new FieldEdit(this);
        field->setObjectName(QStringLiteral("Text1_%1").arg(i));
        field->setFont(fieldFont());
        field->setFrame(false);
        // The frame behind the field shows through, border and all.
        QPalette pal = field->palette();
        pal.setColor(QPalette::Base, Qt::transparent);
        field->setPalette(pal);
        field->setFocusPolicy(Qt::ClickFocus);  // Enter moves between the fields, not Tab
        const bool month = i >= 1 && i <= 12;
        field->setValidator(new MaxLength(month ? 10 : 4, field));
        field->setAlignment((month ? Qt::AlignRight : i == 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        field->setTextMargins(2, 0, 2, 0);
        place(field, text1Place(i));
        field->onFocus = [this, i] {
            markFrame(i, true);
            logic_.text1GotFocus(i);
            shownFocus_ = logic_.focus;
            applySelection(i);
        };
        field->onBlur = [this, i] { markFrame(i, false); };
        field->onEnter = [this, i] {
            forward([&] { logic_.text1KeyPress(i, DeskLogic::kKeyEnter); });
            applyFocus();
        };
        connect(field, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { logic_.text1[static_cast<std::size_t>(i)] = text.toStdString(); });
        if (month) connect(field, &QLineEdit::textChanged, this, [field] { fitMonthField(field); });
        text1_[i] = field;
    }

    for (int i = 0; i < DeskLogic::kCombo1; ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        combo->setFont(fieldFont());
        combo->setMaxVisibleItems(16);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        place(combo, kCombo1Place[i]);
        connect(combo, &QComboBox::activated, this, [this, i](int item) {
            forward([&] { logic_.chooseItem(i, item); });
        });
        combo1_[i] = combo;
    }

    for (int i = 0; i < DeskLogic::kTasto; ++i) {
        QAbstractButton* button = nullptr;
        if (i == 1) {
            auto* exit = new QToolButton(this);
            exit->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            exit->setIcon(exitIcon());
            exit->setIconSize(QSize(px(600), px(600)));
            exit->setFont(buttonFont(true));
            exit->setFocusPolicy(Qt::StrongFocus);
            button = exit;
        } else {
            auto* push = new QPushButton(this);
            push->setFont(buttonFont(false));
            button = push;
        }
        button->setObjectName(QStringLiteral("Tasto_%1").arg(i));
        button->installEventFilter(this);
        place(button, kTastoPlace[i]);
        connect(button, &QAbstractButton::clicked, this, [this, i] { forward([&] { logic_.tastoClick(i); }); });
        tasto_[i] = button;
    }

    graph_ = new ChartView(logic_.graph1, this);
    graph_->setFocusPolicy(Qt::NoFocus);
    place(graph_, kGraph1Place);

    // Tab walks the lists and buttons from the top of the window down.
    const QWidget* order[] = {combo1_[2], combo1_[0], combo1_[1], combo1_[3], combo1_[4], combo1_[5],
                              tasto_[4],  tasto_[5],  tasto_[2],  tasto_[0],  tasto_[3],  tasto_[1]};
    for (std::size_t k = 1; k < std::size(order); ++k)
        setTabOrder(const_cast<QWidget*>(order[k - 1]), const_cast<QWidget*>(order[k]));
}

bool ZentDeskTop::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a focused button presses it.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (auto* button : tasto_) {
                if (button == watched) {
                    button->click();
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ZentDeskTop::start(int year) {
    if (year == 0) year = QDate::currentDate().year();
    logic_.load(year);
    logic_.activate();
    repaintFromLogic();
    if (logic_.unloaded) return false;
    // The chart as start-up leaves it, with the month names it gave the points last.
    graph_->rebuild();
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    return true;
}

void ZentDeskTop::repaintFromLogic(bool paintNow) {
    if (painting_) return;
    painting_ = true;

    const QString caption = QString::fromStdString(logic_.caption);
    if (windowTitle() != caption) setWindowTitle(caption);

    for (int i = 0; i < DeskLogic::kText1; ++i) {
        const QString text = QString::fromStdString(logic_.text1[static_cast<std::size_t>(i)]);
        if (text1_[i]->text() != text) {
            text1_[i]->setText(text);
            if (paintNow && isVisible()) text1_[i]->repaint();
        }
    }
    for (int i = 0; i < DeskLogic::kLabel1; ++i) {
        const QString text = QString::fromStdString(logic_.label1[static_cast<std::size_t>(i)]);
        if (label1_[i]->text() != text) {
            label1_[i]->setText(text);
            fitText(label1_[i]);
        }
    }
    for (int i = 0; i < DeskLogic::kTasto; ++i) {
        const QString text = QString::fromStdString(logic_.tasto[static_cast<std::size_t>(i)]);
        if (tasto_[i]->text() != text) tasto_[i]->setText(text);
    }
    for (int i = 0; i < DeskLogic::kCombo1; ++i) {
        const ComboList& list = logic_.combo1[static_cast<std::size_t>(i)];
        QComboBox* combo = combo1_[i];
        const QSignalBlocker quiet(combo);
        if (shownItems_[i] != list.items) {
            combo->clear();
            int widest = 0;
            for (const auto& item : list.items) {
                const QString text = QString::fromStdString(item);
                combo->addItem(text);
                widest = std::max(widest, combo->fontMetrics().horizontalAdvance(text));
            }
            // The open list shows every item whole, however narrow the closed box is.
            combo->view()->setMinimumWidth(widest + combo->view()->verticalScrollBar()->sizeHint().width() + px(240));
            shownItems_[i] = list.items;
        }
        if (combo->currentIndex() != list.listIndex) combo->setCurrentIndex(list.listIndex);
        // The closed box may cut its text: the tooltip shows it whole.
        if (combo->toolTip() != combo->currentText()) combo->setToolTip(combo->currentText());
    }

    if (!(logic_.focus == shownFocus_)) applyFocus();
    painting_ = false;

    if (logic_.unloaded && !closing_) {
        closing_ = true;
        close();
    }
}

// The frame behind a text field is drawn in the highlight colour, two pixels wide, while
// the field has the focus, so the field the Enter walk reached is seen at once.
void ZentDeskTop::markFrame(int index, bool focused) {
    if (index < 0 || index >= static_cast<int>(shape1_.size())) return;
    QFrame* shape = shape1_[static_cast<std::size_t>(index)];
    QPalette pal = shape->palette();
    pal.setColor(QPalette::WindowText, focused ? palette().color(QPalette::Highlight) : QColor(0x40, 0x40, 0x40));
    shape->setPalette(pal);
    shape->setLineWidth(focused ? 2 : 1);
}

void ZentDeskTop::applyFocus() {
    shownFocus_ = logic_.focus;
    // The walk is done with the keyboard: the style draws the focus on lists and buttons
    // as it does after Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    const int i = logic_.focus.index;
    QWidget* target = nullptr;
    switch (logic_.focus.kind) {
        case Focus::Kind::Text1:
            if (i >= 0 && i < DeskLogic::kText1) target = text1_[i];
            break;
        case Focus::Kind::Combo1:
            if (i >= 0 && i < DeskLogic::kCombo1) target = combo1_[i];
            break;
        case Focus::Kind::Tasto:
            if (i >= 0 && i < DeskLogic::kTasto) target = tasto_[i];
            break;
        case Focus::Kind::None: break;
    }
    if (!target) return;
    target->setFocus(Qt::OtherFocusReason);
    if (logic_.focus.kind == Focus::Kind::Text1) applySelection(i);
}

void ZentDeskTop::applySelection(int index) {
    if (!(logic_.focus == Focus{Focus::Kind::Text1, index})) return;
    QLineEdit* field = text1_[index];
    const int length = static_cast<int>(field->text().size());
    const int start = std::clamp(logic_.selStart, 0, length);
    const int count = std::clamp(logic_.selLength, 0, length - start);
    if (count > 0)
        field->setSelection(start, count);
    else
        field->setCursorPosition(start);
}

int ZentDeskTop::msgBox(const std::string& prompt, int style, const std::string& title) {
    // Over the chart, so the month fields stay in sight.
    return MsgBox_Form::ask(isVisible() ? this : nullptr, prompt, style, title, isVisible() ? chartArea() : QRect());
}

std::string ZentDeskTop::accessGate(const GateRequest& request) {
    // A refusal is told in the program's message box.
    return runPasswdSecurity(request, isVisible() ? this : nullptr);
}

void ZentDeskTop::printMenu() { report::runMenuStampa(logic_.state(), this); }

void ZentDeskTop::busy(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

QRect ZentDeskTop::chartArea() const { return QRect(graph_->mapToGlobal(QPoint(0, 0)), graph_->size()); }

// Long work reports each step here: the dialog shows it, how far the work is and
// "Annulla", over the chart, so the month fields filling up stay in sight; the events that
// came in meanwhile (a click on "Annulla", a repaint) are handled before the work goes on.
bool ZentDeskTop::progress(const std::string& text) {
    if (!progress_) {
        progress_ = new QProgressDialog(this);
        progress_->setObjectName("Progress");
        progress_->setWindowTitle(tr("Zentoria"));
        progress_->setCancelButtonText(tr("Annulla"));
        progress_->setRange(0, progressTotal_);
        progress_->setValue(progressDone_);
        progress_->setMinimumDuration(0);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumWidth(px(4800));
        progress_->show();
    }
    progress_->setLabelText(QString::fromStdString(text));
    if (isVisible()) {
        progress_->adjustSize();
        progress_->move(chartArea().center() - progress_->rect().center());
    }
    QCoreApplication::processEvents();
    return !progress_->wasCanceled();
}

void ZentDeskTop::progressCount(int done, int total) {
    progressDone_ = std::max(0, done);
    progressTotal_ = std::max(0, total);
    if (!progress_) return;
    progress_->setRange(0, progressTotal_);
    progress_->setValue(std::min(progressDone_, progressTotal_));
}

void ZentDeskTop::progressDone() {
    delete progress_;
    progress_ = nullptr;
    progressDone_ = progressTotal_ = 0;
}

}  // namespace zt::desktop
