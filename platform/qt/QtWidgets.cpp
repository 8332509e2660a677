// The Qt widget backend: one QWidget per window handle, and one event filter per handle that
// turns the Qt events of the widget (and of a native widget's inner children) into messages.
#include "QtWidgets.h"
#include "QtNative.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleHints>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <map>

#include "../Controls.h"
#include "../Forms.h"
#include "QtGraphics.h"

struct TPaintDC {
  QPainter* Painter;
  std::vector<TRect> Clips;  // the current clip, in the current coordinates, last
  std::vector<TPoint> Offsets;
};

namespace {

// The message being made from a toolkit event, and whether it reached DefaultHandler.
struct TNativeCall {
  const TMessage* Msg;
  TWinControl* Control;
  bool Pass;
  TNativeCall* Prev;
};
TNativeCall* gCall = nullptr;

// A scroll area (list box, memo) handles its viewport's input in viewportEvent, called from a
// filter on the viewport that ours, installed later, runs before.
struct TViewportAccess : QAbstractScrollArea {
  using QAbstractScrollArea::viewportEvent;
};

Qt::CursorShape CursorShape(int cursor) {
  switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSize:
    case crSizeAll: return Qt::SizeAllCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
  }
}

uint16_t VirtualKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<uint16_t>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    default: return 0;
  }
}

int QtKey(uint16_t vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
  if (vk >= VK_F1 && vk < VK_F1 + 24) return Qt::Key_F1 + (vk - VK_F1);
  static const std::pair<uint16_t, int> kMap[] = {
      {VK_RETURN, Qt::Key_Return},  {VK_ESCAPE, Qt::Key_Escape},   {VK_TAB, Qt::Key_Tab},
      {VK_BACK, Qt::Key_Backspace}, {VK_DELETE, Qt::Key_Delete},   {VK_INSERT, Qt::Key_Insert},
      {VK_HOME, Qt::Key_Home},      {VK_END, Qt::Key_End},         {VK_PRIOR, Qt::Key_PageUp},
      {VK_NEXT, Qt::Key_PageDown},  {VK_LEFT, Qt::Key_Left},       {VK_RIGHT, Qt::Key_Right},
      {VK_UP, Qt::Key_Up},          {VK_DOWN, Qt::Key_Down},       {VK_SPACE, Qt::Key_Space},
      {VK_SHIFT, Qt::Key_Shift},    {VK_CONTROL, Qt::Key_Control}, {VK_MENU, Qt::Key_Alt}};
  for (auto& [v, k] : kMap)
    if (v == vk) return k;
  return 0;
}

intptr_t KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  intptr_t k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

// Widgets draw through the filter; this one only keeps Qt from painting a default.
class TPaintedWidget : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

// The outer widget of a window with a non-client area: its background shows in the corner
// between two scroll bars, and its border is a sunken edge, as Windows' client edge.
class TFrameWidget : public QWidget {
 public:
  using QWidget::QWidget;
  TNonClientArea Area;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(clBtnFace));
    if (Area.Padding > 0) p.fillRect(ToQRect(Area.ScrollArea(width(), height())), ToQColor(Area.PaddingColor));
    if (Area.Border <= 0) return;
    auto edge = [&p](QRect r, TColor topLeft, TColor bottomRight) {
      p.setPen(ToQColor(topLeft));
      p.drawLine(r.left(), r.bottom(), r.left(), r.top());
      p.drawLine(r.left(), r.top(), r.right(), r.top());
      p.setPen(ToQColor(bottomRight));
      p.drawLine(r.right(), r.top(), r.right(), r.bottom());
      p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
    };
    edge(rect(), clBtnShadow, clBtnHighlight);
    if (Area.Border > 1) edge(rect().adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
  }
};

}  // namespace

// The inverting frames of DrawXorFrame: black pixels leave the control's pixels alone, white
// ones invert them. (Outside the anonymous namespace: the window handle holds one.)
class TXorOverlay : public QWidget {
 public:
  explicit TXorOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    Fit();
  }
  void Fit() {
    setGeometry(parentWidget()->rect());
    if (Image.size() != size()) Image = NewOverlayImage(std::max(1, width()), std::max(1, height()));
    raise();
  }
  void Toggle(const TRect& r) {
    Fit();
    // Every other pixel of the border, as DrawFocusRect draws it, flipped in place.
    auto flip = [this](int x, int y) {
      if (x >= 0 && y >= 0 && x < Image.width() && y < Image.height() && (x + y) % 2 == 0)
        reinterpret_cast<QRgb*>(Image.scanLine(y))[x] ^= 0x00FFFFFF;
    };
    int right = r.Right - 1, bottom = r.Bottom - 1;
    for (int x = r.Left; x <= right; ++x) {
      flip(x, r.Top);
      if (bottom != r.Top) flip(x, bottom);
    }
    for (int y = r.Top + 1; y < bottom; ++y) {
      flip(r.Left, y);
      if (right != r.Left) flip(right, y);
    }
    show();
    update();
  }
  QImage Image;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    DrawOverlay(p, Image);
  }
};

namespace {
int gPendingPosts = 0;

// Posted calls run in the order posted: queued calls to one object are FIFO.
QObject* PostReceiver() {
  static QObject* r = new QObject;
  return r;
}
}  // namespace

// =============================================================================================
class TWindowHandle : public QObject {
 public:
  // frame: the outer widget of a window with a non-client area around widget, else widget.
  TWindowHandle(TWinControl* control, QWidget* frame, QWidget* widget, bool native)
      : Control(control), Frame(frame), Widget(widget), Native(native) {
    setParent(widget);
    Watch(widget);
    if (frame != widget) frame->installEventFilter(this);
    frame->setAttribute(Qt::WA_AlwaysShowToolTips);  // a tool window shows hints while inactive
    if (native)
      for (QWidget* inner : widget->findChildren<QWidget*>()) Watch(inner);
  }

  void Watch(QWidget* w) {
    w->setProperty("kvFocus", static_cast<int>(w->focusPolicy()));
    w->installEventFilter(this);
    if (!Native || w == Widget) w->setMouseTracking(true);
  }

  bool eventFilter(QObject* obj, QEvent* ev) override;

  // Sends m to the control as the platform would; answers whether the native widget gets the
  // event. Exceptions go to the application, as the VCL's message loop sends them.
  bool Send(TMessage& m, bool mouse) {
    TNativeCall call{&m, Control, false, gCall};
    gCall = &call;
    ++Busy;
    try {
      if (mouse) RouteMouseMessage(Control, m);
      else Control->WindowProc(m);
    } catch (...) {
      call.Pass = false;
      Application->HandleException(Control);
    }
    --Busy;
    gCall = call.Prev;
    return call.Pass && !Dead;
  }

  void Deliver(QWidget* w, QEvent* ev) {
    ++Busy;
    auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget());
    if (area && area->viewport() == w) (area->*&TViewportAccess::viewportEvent)(ev);
    else static_cast<QObject*>(w)->event(ev);
    --Busy;
  }

  bool Mouse(QWidget* w, QMouseEvent* e);
  bool Key(QWidget* w, QKeyEvent* e);
  bool Paint(QPaintEvent* e);
  void Destroy();
  TXorOverlay* EnsureOverlay() {
    if (!Overlay) Overlay = new TXorOverlay(Widget);
    return Overlay;
  }
  void Layout();

  TWinControl* Control;
  TCanvas* Canvas = nullptr;
  QWidget* Frame;   // the window: what is placed, shown, titled and activated
  QWidget* Widget;  // its client area: children, painting, mouse and keys
  bool Native;
  bool Dead = false;
  int Busy = 0;
  TXorOverlay* Overlay = nullptr;
};

namespace {
// The handle whose client area is w, or nullptr. TWindowHandle has no meta-object of its own, so
// findChild<TWindowHandle*> would answer any QObject child (a line edit's inner parts): the type
// is checked here instead.
TWindowHandle* HandleOfClientArea(QWidget* w) {
  for (QObject* child : w->children())
    if (auto* h = dynamic_cast<TWindowHandle*>(child); h && h->Widget == w) return h;
  return nullptr;
}

// A child window placed or raised stays under the XOR frame drawn over its parent.
void RaiseOverlayOf(QWidget* parent) {
  if (TWindowHandle* ph = HandleOfClientArea(parent); ph && ph->Overlay) ph->Overlay->raise();
}
}  // namespace

bool TWindowHandle::eventFilter(QObject* obj, QEvent* ev) {
  auto* w = qobject_cast<QWidget*>(obj);
  if (!w || Dead) return false;
  // The non-client area's own input (the corner between the scroll bars) is nobody's message.
  bool nonClient = w == Frame && Frame != Widget;
  switch (ev->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return !nonClient && Mouse(w, static_cast<QMouseEvent*>(ev));
    case QEvent::Wheel: {
      if (nonClient) return false;
      auto* we = static_cast<QWheelEvent*>(ev);
      QPoint p = w->mapTo(Widget, we->position().toPoint());
      TMessage m{WM_MOUSEWHEEL,
                 MakeWParam(static_cast<uint16_t>(KeysOf(we->buttons(), we->modifiers())),
                            static_cast<uint16_t>(we->angleDelta().y())),
                 PointToLParam({p.x(), p.y()}), 0};
      if (Send(m, true)) Deliver(w, ev);
      ev->accept();
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      // Keys have no position: the frame of a window without a focused child passes them on.
      return Key(w, static_cast<QKeyEvent*>(ev));
    case QEvent::Paint: return w == Widget && Paint(static_cast<QPaintEvent*>(ev));
    case QEvent::ToolTip: {
      if (nonClient) return false;
      auto* help = static_cast<QHelpEvent*>(ev);
      QPoint p = w->mapTo(Widget, help->pos());
      std::string hint = HintAt(Control, {p.x(), p.y()});
      if (hint.empty()) QToolTip::hideText();
      else QToolTip::showText(help->globalPos(), QString::fromStdString(hint), w);
      return true;
    }
    case QEvent::Close: {
      if (w != Frame) return false;
      // The form decides. A window that closed (hid or went) accepts, so that a quit of Qt's,
      // which asks every window, goes on; a refusal stops it, as a refused close does.
      QPointer<QWidget> frame(Frame);
      TMessage m{WM_CLOSE, 0, 0, 0};
      Send(m, false);
      ev->setAccepted(!frame || !frame->isVisible());
      return true;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
      if (w != Frame || !Frame->isWindow()) return false;
      TMessage m{WM_ACTIVATE, ev->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0, 0};
      Send(m, false);
      return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      if (nonClient) return false;
      TMessage m{ev->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, 0};
      Send(m, false);
      return false;
    }
    case QEvent::Move:
    case QEvent::Resize:
      if (w == Widget && Overlay && ev->type() == QEvent::Resize) Overlay->Fit();
      if (w == Frame) {
        if (ev->type() == QEvent::Resize) Layout();
        // A top-level window moved or sized by the platform: the control follows.
        TRect r = FromQRect(Frame->geometry());
        if (Frame->isWindow() && r != Control->BoundsRect() && !Busy) {
          ++Busy;
          Control->UpdateBoundsFromWindow(r);
          --Busy;
        }
      }
      return false;
    case QEvent::ChildAdded:
      if (Native) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(ev)->child())) Watch(child);
      }
      return false;
    default: return false;
  }
}

bool TWindowHandle::Mouse(QWidget* w, QMouseEvent* e) {
  QPoint local = w->mapTo(Widget, e->position().toPoint());
  QPoint global = e->globalPosition().toPoint();
  NoteCursorPos({global.x(), global.y()});
  intptr_t keys = KeysOf(e->buttons(), e->modifiers());
  uint32_t msg = WM_MOUSEMOVE;
  int base = e->button() == Qt::RightButton    ? WM_RBUTTONDOWN
             : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                               : WM_LBUTTONDOWN;
  switch (e->type()) {
    case QEvent::MouseButtonPress: msg = base; break;
    case QEvent::MouseButtonRelease: msg = base + 1; break;
    case QEvent::MouseButtonDblClick: msg = base + 2; break;
    default: break;
  }
  if ((msg == WM_MOUSEMOVE || e->type() == QEvent::MouseButtonPress) && !GetCaptureControl()) {
    TMessage sc{WM_SETCURSOR, reinterpret_cast<intptr_t>(Control), static_cast<intptr_t>(HTCLIENT | (msg << 16)), 0};
    Send(sc, false);
    if (Dead) return true;
  }
  TMessage m{msg, keys, PointToLParam({local.x(), local.y()}), 0};
  if (Send(m, true)) Deliver(w, e);
  e->accept();
  return true;
}

bool TWindowHandle::Key(QWidget* w, QKeyEvent* e) {
  bool down = e->type() == QEvent::KeyPress;
  TMessage m{down ? WM_KEYDOWN : WM_KEYUP, VirtualKey(e->key()), e->isAutoRepeat() ? (1 << 30) : 0, 0};
  bool pass = Send(m, false);
  if (Dead) return true;
  QString text = e->text();
  if (down && !text.isEmpty() && text[0].unicode() >= 32 && text[0].unicode() < 256) {
    TMessage c{WM_CHAR, static_cast<intptr_t>(static_cast<unsigned char>(text[0].unicode())), 0, 0};
    pass = Send(c, false) && pass;
    if (Dead) return true;
  }
  if (pass) Deliver(w, e);
  e->accept();
  return true;
}

bool TWindowHandle::Paint(QPaintEvent* e) {
  if (Native) {
    TMessage m{WM_PAINT, 0, 0, 0};
    return !Send(m, false);
  }
  QPainter painter(Widget);
  TPaintDC dc{&painter, {FromQRect(e->rect())}, {TPoint{}}};
  TMessage m{WM_PAINT, reinterpret_cast<intptr_t>(&dc), 0, 0};
  Send(m, false);
  return true;
}

void TWindowHandle::Destroy() {
  Dead = true;
  Control = nullptr;
  if (Canvas) {
    Canvas->Backend()->Image = nullptr;
    Canvas->OnChange = nullptr;
  }
  if (Busy) {
    // Deleting the widget inside its own event would pull the floor from under Qt.
    Frame->hide();
    Frame->setParent(nullptr);
    Frame->deleteLater();
  } else {
    delete Frame;  // and this, a child of its client widget
  }
}

void TWindowHandle::Layout() {
  if (Frame == Widget) return;
  const TNonClientArea& a = static_cast<TFrameWidget*>(Frame)->Area;
  int w = Frame->width(), h = Frame->height();
  Widget->setGeometry(ToQRect(a.ClientRect(w, h)));
  QRect client = ToQRect(a.ScrollArea(w, h));
  if (auto* bar = Frame->findChild<QWidget*>("kvMenuBar", Qt::FindDirectChildrenOnly)) {
    bar->setGeometry(a.Border, a.Border, std::max(0, w - 2 * a.Border), a.MenuBar);
    bar->setVisible(a.MenuBar > 0);
  }
  if (auto* v = Frame->findChild<QScrollBar*>("kvVScroll", Qt::FindDirectChildrenOnly)) {
    v->setGeometry(client.right() + 1, client.top(), a.VertScrollBar, client.height());
    v->setVisible(a.VertScrollBar > 0);
  }
  if (auto* hb = Frame->findChild<QScrollBar*>("kvHScroll", Qt::FindDirectChildrenOnly)) {
    hb->setGeometry(client.left(), client.bottom() + 1, client.width(), a.HorzScrollBar);
    hb->setVisible(a.HorzScrollBar > 0);
  }
  Frame->update();
}

void PassToNative(TWinControl* control, const TMessage& m) {
  for (TNativeCall* c = gCall; c; c = c->Prev)
    if (c->Msg == &m && c->Control == control) c->Pass = true;
}

// =============================================================================================
namespace qtw {

namespace {
std::map<std::string, TWindowClass>& WindowClasses() {
  static std::map<std::string, TWindowClass> classes;
  return classes;
}
const TWindowClass* FindWindowClass(const std::string& name) {
  auto it = WindowClasses().find(name);
  return it == WindowClasses().end() ? nullptr : &it->second;
}
}  // namespace

void RegisterWindowClass(const std::string& name, TWindowClass wc) { WindowClasses()[name] = std::move(wc); }

QWidget* WidgetOf(TWindowHandle* h) { return h->Widget; }
QWidget* FrameOf(TWindowHandle* h) { return h->Frame; }
void LayoutFrame(TWindowHandle* h) { h->Layout(); }

QScrollBar* ScrollBarOf(QWidget* host, TWinControl* control, bool vertical) {
  QString name = vertical ? "kvVScroll" : "kvHScroll";
  auto* bar = host->findChild<QScrollBar*>(name, Qt::FindDirectChildrenOnly);
  if (bar) return bar;
  bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, host);
  bar->setObjectName(name);
  bar->setFocusPolicy(Qt::NoFocus);
  QObject::connect(bar, &QScrollBar::valueChanged, bar, [control, vertical, bar](int v) {
    if (bar->property("kvSetting").toBool()) return;
    uint16_t code = bar->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
    control->Perform(vertical ? WM_VSCROLL : WM_HSCROLL, MakeWParam(code, static_cast<uint16_t>(v)), 0);
  });
  return bar;
}

void SetScrollBarState(QScrollBar* bar, int max, int page, int pos, int step, bool tracking) {
  bar->setProperty("kvSetting", true);
  bar->setTracking(tracking);
  bar->setRange(0, std::max(0, max));
  bar->setPageStep(std::max(1, page));
  bar->setSingleStep(std::max(1, step));
  bar->setValue(pos);
  bar->setProperty("kvSetting", false);
}

void Notify(TWindowHandle* h, uint16_t code, intptr_t lParam) {
  if (h->Dead) return;
  TMessage m{WM_COMMAND, MakeWParam(0, code), lParam, 0};
  h->Send(m, false);
}

namespace {
std::function<void()> QuitHook;

// Qt's own quit (QCoreApplication::quit, or the session's) asks every window to close before the
// loop ends. The forms must know then that the application is ending, as after
// TApplication::Terminate, or a save prompt would wait for an answer that nobody gives.
class TQuitWatch : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* ev) override {
    if (ev->type() == QEvent::Quit && watched == QCoreApplication::instance() && QuitHook) QuitHook();
    return false;
  }
};
}  // namespace

void SetQuitHook(std::function<void()> hook) { QuitHook = std::move(hook); }

void EnsureApplication() {
  QApplication* app = EnsureQtApplication();
  static bool watching = false;
  if (watching || !app) return;
  watching = true;
  app->installEventFilter(new TQuitWatch(app));
}

TWindowHandle* CreateHandle(TWinControl* control, const TCreateParams& params) {
  EnsureApplication();
  QWidget* parent = params.WndParent && !params.TopLevel ? params.WndParent->Handle()->Widget : nullptr;
  QWidget* w = nullptr;
  QWidget* frame = nullptr;
  const std::string& cls = params.WinClassName;
  QString caption = QString::fromStdString(params.Caption);
  TWindowHandle* h = nullptr;
  const TWindowClass* registered = FindWindowClass(cls);
  if (registered) {
    w = registered->Create(parent, params);
  } else if (cls.empty() && params.NonClient) {
    frame = new TFrameWidget(parent);
    w = new TPaintedWidget(frame);
  } else if (cls.empty()) {
    w = new TPaintedWidget(parent);
  } else if (cls == "BUTTON") {
    w = new QPushButton(caption, parent);
  } else if (cls == "EDIT") {
    w = new QLineEdit(caption, parent);
  } else if (cls == "COMBOBOX") {
    auto* cb = new QComboBox(parent);
    cb->setEditable(true);
    w = cb;
  } else if (cls == "LISTBOX") {
    w = new QListWidget(parent);
  } else if (cls == "STATIC") {
    w = new QLabel(caption, parent);
  } else {
    throw EInvalidOperation(Format("Unknown window class %s", cls));
  }
  if (!frame) frame = w;
  h = new TWindowHandle(control, frame, w, !cls.empty());
  if (registered && registered->Connect) registered->Connect(w, h);
  // Native notifications reach the control as WM_COMMAND, as the VCL reflects them.
  auto notify = [h](uint16_t code) { Notify(h, code); };
  if (auto* b = qobject_cast<QPushButton*>(w))
    QObject::connect(b, &QPushButton::clicked, h, [notify] { notify(BN_CLICKED); });
  if (auto* e = qobject_cast<QLineEdit*>(w))
    QObject::connect(e, &QLineEdit::textEdited, h, [notify] { notify(EN_CHANGE); });
  if (auto* c = qobject_cast<QComboBox*>(w))
    QObject::connect(c, &QComboBox::currentIndexChanged, h, [notify] { notify(CBN_SELCHANGE); });
  if (params.TopLevel) {
    SetTopLevelStyle(h, params);
    frame->setWindowTitle(caption);
  }
  frame->setGeometry(ToQRect(params.Bounds));
  h->Layout();
  if (parent) RaiseOverlayOf(parent);
  return h;
}

void DestroyHandle(TWindowHandle* h) {
  if (h) h->Destroy();
}

void SetParent(TWindowHandle* h, TWindowHandle* parent) {
  QWidget* f = h->Frame;
  bool vis = f->isVisibleTo(f->parentWidget());
  f->setParent(parent ? parent->Widget : nullptr);
  f->setVisible(vis);
}

void SetBounds(TWindowHandle* h, const TRect& r) {
  ++h->Busy;
  h->Frame->setGeometry(ToQRect(r));
  // A hidden window hears of its new size only once shown; its parts must fit now.
  h->Layout();
  --h->Busy;
}

TRect GetBounds(TWindowHandle* h) { return FromQRect(h->Frame->geometry()); }

void SetVisible(TWindowHandle* h, bool visible) {
  QWidget* f = h->Frame;
  if (f->isVisibleTo(f->parentWidget()) == visible && !f->isWindow()) return;
  if (f->isWindow() && f->isVisible() == visible) return;
  ++h->Busy;
  f->setVisible(visible);
  --h->Busy;
}

void SetEnabled(TWindowHandle* h, bool enabled) { h->Frame->setEnabled(enabled); }

void SetText(TWindowHandle* h, const std::string& text) {
  QString s = QString::fromStdString(text);
  QWidget* w = h->Widget;
  if (h->Frame->isWindow()) h->Frame->setWindowTitle(s);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(s);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(s);
  if (auto* l = qobject_cast<QLabel*>(w)) l->setText(s);
  if (auto* c = qobject_cast<QComboBox*>(w)) c->setEditText(s);
}

void SetFont(TWindowHandle* h, const TFont& font) { h->Widget->setFont(ToQFont(font)); }

void SetFocusable(TWindowHandle* h, bool focusable) {
  auto apply = [focusable](QWidget* w) {
    QVariant natural = w->property("kvFocus");
    if (!natural.isValid()) return;
    w->setFocusPolicy(focusable ? static_cast<Qt::FocusPolicy>(natural.toInt()) : Qt::NoFocus);
    if (!focusable && w->hasFocus()) w->clearFocus();
  };
  apply(h->Widget);
  if (h->Native)
    for (QWidget* inner : h->Widget->findChildren<QWidget*>()) apply(inner);
}

void SetFocus(TWindowHandle* h) { h->Widget->setFocus(Qt::OtherFocusReason); }

bool Focused(TWindowHandle* h) {
  QWidget* f = QApplication::focusWidget();
  return f && (f == h->Widget || (h->Native && h->Widget->isAncestorOf(f)));
}

// A window that stays on top comes up again over any other window of the application that
// comes to the front, a modal one excepted: no window manager need be there to do it.
void RaiseStayOnTop(QWidget* raised) {
  if (QApplication::activeModalWidget()) return;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != raised && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint)) w->raise();
}

void Raise(TWindowHandle* h) {
  h->Frame->raise();
  if (QWidget* p = h->Frame->parentWidget()) RaiseOverlayOf(p);
}

void Stack(TWindowHandle* h, bool top) {
  if (top) {
    h->Frame->raise();
    RaiseStayOnTop(h->Frame);
  } else {
    h->Frame->lower();
  }
}

void Invalidate(TWindowHandle* h, const TRect* r) {
  if (r) h->Widget->update(ToQRect(*r));
  else h->Widget->update();
}

void UpdateNow(TWindowHandle* h) {
  if (h->Widget->isVisible()) h->Widget->repaint();
}

void SetCursorShape(TWindowHandle* h, int cursor) {
  if (cursor == crDefault) h->Widget->unsetCursor();
  else h->Widget->setCursor(CursorShape(cursor));
}

void SetTopLevelStyle(TWindowHandle* h, const TCreateParams& params) {
  Qt::WindowFlags f = params.ToolWindow ? Qt::Tool : Qt::Window;
  if (params.StayOnTop) f |= Qt::WindowStaysOnTopHint;
  if (h->Frame->windowFlags() == f) return;
  bool vis = h->Frame->isVisible();
  h->Frame->setWindowFlags(f);
  if (vis) h->Frame->show();
}

void SetWindowState(TWindowHandle* h, int state) {
  h->Frame->setWindowState(state == wsMinimized   ? Qt::WindowMinimized
                           : state == wsMaximized ? Qt::WindowMaximized
                                                  : Qt::WindowNoState);
}

void Activate(TWindowHandle* h) {
  h->Frame->raise();
  h->Frame->activateWindow();
}

bool IsActiveWindow(TWindowHandle* h) { return h->Frame->isActiveWindow(); }

void Grab(TWindowHandle* h, TBitmap* bitmap, bool withNonClient) {
  QWidget* w = withNonClient ? h->Frame : h->Widget;
  w->ensurePolished();
  AssignQImage(bitmap, w->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void SetNonClientArea(TWindowHandle* h, const TNonClientArea& area) {
  if (h->Frame == h->Widget) return;
  static_cast<TFrameWidget*>(h->Frame)->Area = area;
  h->Layout();
}

void SetScrollInfo(TWindowHandle* h, bool vertical, int max, int page, int pos, int step, bool tracking) {
  if (h->Frame == h->Widget) return;
  SetScrollBarState(ScrollBarOf(h->Frame, h->Control, vertical), max, page, pos, step, tracking);
  h->Layout();
}

void ToggleXorFrame(TWindowHandle* h, const TRect& r) { h->EnsureOverlay()->Toggle(r); }

void AttachCanvas(TWindowHandle* h, TCanvas* canvas) {
  h->Canvas = canvas;
  canvas->Backend()->Image = [h] {
    TXorOverlay* o = h->EnsureOverlay();
    o->Fit();
    return &o->Image;
  };
  canvas->OnChange = [h, canvas](TObject*) {
    if (!canvas->Backend()->Painter && h->Overlay) {
      h->Overlay->show();
      h->Overlay->update();
    }
  };
}

void SendInput(TWindowHandle* h, uint32_t msg, const TPoint& client, intptr_t keys, uint16_t vk) {
  QWidget* root = h->Widget;
  Qt::KeyboardModifiers mods;
  if (keys & MK_SHIFT) mods |= Qt::ShiftModifier;
  if (keys & MK_CONTROL) mods |= Qt::ControlModifier;
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    QWidget* target = root->focusWidget();
    if (!target || (target != root && !root->isAncestorOf(target))) target = root;
    QString text = vk >= 32 && vk < 127 && vk != VK_DELETE ? QString(QChar(vk)).toLower() : QString();
    if (vk == VK_SPACE) text = " ";
    QKeyEvent e(msg == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, QtKey(vk), mods, text);
    QApplication::sendEvent(target, &e);
    return;
  }
  QPoint p(client.X, client.Y);
  QWidget* target = root->childAt(p);
  if (!target) target = root;
  QPoint local = target->mapFrom(root, p);
  QPoint global = root->mapToGlobal(p);
  Qt::MouseButtons buttons;
  if (keys & MK_LBUTTON) buttons |= Qt::LeftButton;
  if (keys & MK_RBUTTON) buttons |= Qt::RightButton;
  if (keys & MK_MBUTTON) buttons |= Qt::MiddleButton;
  QEvent::Type type = QEvent::MouseMove;
  Qt::MouseButton button = Qt::NoButton;
  if (msg != WM_MOUSEMOVE) {
    int kind = (msg - WM_LBUTTONDOWN) % 3;
    int which = (msg - WM_LBUTTONDOWN) / 3;
    button = which == 0 ? Qt::LeftButton : which == 1 ? Qt::RightButton : Qt::MiddleButton;
    type = kind == 0 ? QEvent::MouseButtonPress : kind == 1 ? QEvent::MouseButtonRelease : QEvent::MouseButtonDblClick;
    if (kind == 1) buttons &= ~button;
    else buttons |= button;
  }
  QMouseEvent e(type, QPointF(local), QPointF(global), button, buttons, mods);
  QApplication::sendEvent(target, &e);
}

// --- Painting.
void PushClip(TPaintDC* dc, const TPoint& offset, const TRect& clip) {
  dc->Painter->save();
  dc->Painter->translate(offset.X, offset.Y);
  dc->Painter->setClipRect(ToQRect(clip), Qt::IntersectClip);
  TRect cur = dc->Clips.back();
  OffsetRect(cur, -offset.X, -offset.Y);
  TRect inter;
  IntersectRect(inter, cur, clip);
  dc->Clips.push_back(inter);
}

void PopClip(TPaintDC* dc) {
  dc->Painter->restore();
  dc->Clips.pop_back();
}

void FillRect(TPaintDC* dc, const TRect& r, int color) { dc->Painter->fillRect(ToQRect(r), ToQColor(color)); }

TRect ClipBox(TPaintDC* dc) { return dc->Clips.back(); }

struct TCanvasScope::Impl {
  QPainter* Painter;
  TPainterCanvasScope Scope;
  Impl(TCanvas* c, QPainter* p) : Painter(p), Scope(c, p) {}
};

TCanvasScope::TCanvasScope(TCanvas* canvas, TPaintDC* dc) {
  if (!dc) return;
  dc->Painter->save();
  FImpl = std::make_unique<Impl>(canvas, dc->Painter);
}

TCanvasScope::~TCanvasScope() {
  if (!FImpl) return;
  QPainter* p = FImpl->Painter;
  FImpl.reset();
  p->restore();
}

// --- The event loop.
void ProcessEvents(bool waitForMore) {
  EnsureApplication();
  QCoreApplication::processEvents(waitForMore ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
  // Like a PeekMessage loop, also the messages posted meanwhile (a bounded number of rounds,
  // so that a message that posts itself again cannot hold the caller forever).
  for (int round = 0; gPendingPosts > 0 && round < 64; ++round) QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Post(std::function<void()> call) {
  EnsureApplication();
  ++gPendingPosts;
  QMetaObject::invokeMethod(
      PostReceiver(),
      [call = std::move(call)] {
        --gPendingPosts;
        try {
          call();
        } catch (...) {
          Application->HandleException(nullptr);
        }
      },
      Qt::QueuedConnection);
}

int MessageBox(const std::string& text, const std::string& caption, int flags) {
  EnsureApplication();
  QMessageBox box;
  box.setText(QString::fromStdString(text));
  box.setWindowTitle(QString::fromStdString(caption));
  int icon = flags & 0xF0;
  box.setIcon(icon == MB_ICONERROR         ? QMessageBox::Critical
              : icon == MB_ICONQUESTION    ? QMessageBox::Question
              : icon == MB_ICONWARNING     ? QMessageBox::Warning
              : icon == MB_ICONINFORMATION ? QMessageBox::Information
                                           : QMessageBox::NoIcon);
  switch (flags & 0xF) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDCANCEL;
  }
}

// --- Cursor, keyboard and screen.
TPoint CursorPos() {
  EnsureApplication();
  QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

void SetCursorPos(const TPoint& p) {
  EnsureApplication();
  QCursor::setPos(p.X, p.Y);
}

void SetOverrideCursor(int cursor, bool on) {
  EnsureApplication();
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  if (on) QGuiApplication::setOverrideCursor(QCursor(CursorShape(cursor)));
}

bool KeyDown(int vk) {
  EnsureApplication();
  Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  Qt::MouseButtons b = QGuiApplication::mouseButtons();
  switch (vk) {
    case VK_SHIFT: return m & Qt::ShiftModifier;
    case VK_CONTROL: return m & Qt::ControlModifier;
    case VK_MENU: return m & Qt::AltModifier;
    case VK_LBUTTON: return b & Qt::LeftButton;
    case VK_RBUTTON: return b & Qt::RightButton;
    case VK_MBUTTON: return b & Qt::MiddleButton;
    default: return false;
  }
}

TRect ScreenRect() {
  EnsureApplication();
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? FromQRect(s->geometry()) : Rect(0, 0, 800, 600);
}

TRect WorkArea() {
  EnsureApplication();
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? FromQRect(s->availableGeometry()) : Rect(0, 0, 800, 600);
}

int DoubleClickTime() {
  EnsureApplication();
  return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

}  // namespace qtw
