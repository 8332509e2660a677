// The native widgets of StdCtrls (and the bit button of Buttons): their window classes, and the
// setters and getters the controls drive them with.
#include "QtStdCtrls.h"

#include "../Mask.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTextEdit>

#include "../Controls.h"
#include "../Forms.h"
#include "../Mask.h"
#include "QtGraphics.h"
#include "QtNative.h"

namespace {
QString FromStd(const std::string& s) { return QString::fromStdString(s); }

// The controls hold Windows text (CR LF); Qt's text documents hold LF.
std::string ToWindowsText(const QString& s) {
  std::string in = s.toStdString(), out;
  out.reserve(in.size());
  for (char c : in) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
QString FromWindowsText(const std::string& s) {
  QString q = FromStd(s);
  q.replace("\r\n", "\n");
  q.replace('\r', '\n');
  return q;
}

// A memo's text limit, as Windows' EM_LIMITTEXT keeps it: typing that would pass it is
// refused, pasted text is cut to fit, and text set by the program is not limited. A line break
// counts two characters (CR LF).
class TMemoWidget : public QTextEdit {
 public:
  using QTextEdit::QTextEdit;
  int MaxLength = 0;  // 0: no limit

 protected:
  static int WindowsLength(const QString& s) {
    return static_cast<int>(s.size() + s.count('\n') + s.count(QChar::ParagraphSeparator));
  }
  int Room() const { return MaxLength - WindowsLength(toPlainText()) + WindowsLength(textCursor().selectedText()); }
  void keyPressEvent(QKeyEvent* e) override {
    bool lineBreak = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    int adding = lineBreak ? 2 : e->text().isEmpty() || e->text()[0] < ' ' ? 0 : WindowsLength(e->text());
    if (MaxLength > 0 && !isReadOnly() && adding > Room()) {
      QApplication::beep();
      e->accept();
      return;
    }
    QTextEdit::keyPressEvent(e);
  }
  void insertFromMimeData(const QMimeData* source) override {
    if (MaxLength <= 0 || !source->hasText()) return QTextEdit::insertFromMimeData(source);
    QString text = source->text(), fitted;
    int room = Room();
    for (QChar c : text) {
      int n = c == '\n' ? 2 : 1;
      if (n > room) break;
      fitted += c;
      room -= n;
    }
    textCursor().insertText(fitted);
  }
};

class TComboWidget : public QComboBox {
 public:
  using QComboBox::QComboBox;
  TWindowHandle* H = nullptr;
  void showPopup() override {
    if (H) qtw::Notify(H, CBN_DROPDOWN_CODE);
    QComboBox::showPopup();
  }
  static constexpr uint16_t CBN_DROPDOWN_CODE = 7;
};

// Owner-drawn items: the control paints each one on its canvas, lent the view's painter.
class TOwnerDrawDelegate : public QStyledItemDelegate {
 public:
  TOwnerDrawDelegate(QObject* parent, TCanvas* canvas, qtstd::TDrawItemProc draw, int height)
      : QStyledItemDelegate(parent), Canvas(canvas), Draw(std::move(draw)), Height(height) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    TPainterCanvasScope scope(Canvas, painter);
    const QRect& q = option.rect;
    try {
      Draw(index.row(), Bounds(q.x(), q.y(), q.width(), q.height()), option.state & QStyle::State_Selected,
           option.state & QStyle::State_HasFocus);
    } catch (...) {
      Application->HandleException(nullptr);
    }
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    if (Height > 0) s.setHeight(Height);
    return s;
  }
  TCanvas* Canvas;
  qtstd::TDrawItemProc Draw;
  int Height;
};

QAbstractItemView* ItemView(QWidget* w) {
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->view();
  return qobject_cast<QAbstractItemView*>(w);
}

struct TRegistrar {
  TRegistrar() {
    using qtw::TWindowClass;
    qtw::RegisterWindowClass("KvButton", TWindowClass{[](QWidget* p, const TCreateParams& cp) -> QWidget* {
                                                        return new QPushButton(FromStd(cp.Caption), p);
                                                      },
                                                      nullptr});
    auto clicks = [](QWidget* w, TWindowHandle* h) {
      QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, w,
                       [h] { qtw::Notify(h, BN_CLICKED); });
    };
    qtw::RegisterWindowClass("KvCheckBox", TWindowClass{[](QWidget* p, const TCreateParams& cp) -> QWidget* {
                                                          auto* b = new QCheckBox(FromStd(cp.Caption), p);
                                                          b->setTristate(true);
                                                          return b;
                                                        },
                                                        clicks});
    qtw::RegisterWindowClass("KvRadioButton", TWindowClass{[](QWidget* p, const TCreateParams& cp) -> QWidget* {
                                                             auto* b = new QRadioButton(FromStd(cp.Caption), p);
                                                             // Exclusivity is the controls' business.
                                                             b->setAutoExclusive(false);
                                                             return b;
                                                           },
                                                           clicks});
    qtw::RegisterWindowClass(
        "KvEdit", TWindowClass{[](QWidget* p, const TCreateParams&) -> QWidget* { return new QLineEdit(p); }, nullptr});
    qtw::RegisterWindowClass("KvMemo", TWindowClass{[](QWidget* p, const TCreateParams&) -> QWidget* {
                                                      auto* e = new TMemoWidget(p);
                                                      e->setAcceptRichText(false);
                                                      e->setTabChangesFocus(true);
                                                      return e;
                                                    },
                                                    [](QWidget* w, TWindowHandle* h) {
                                                      QObject::connect(static_cast<QTextEdit*>(w),
                                                                       &QTextEdit::textChanged, w,
                                                                       [h] { qtw::Notify(h, EN_CHANGE); });
                                                    }});
    qtw::RegisterWindowClass(
        "KvListBox", TWindowClass{[](QWidget* p, const TCreateParams&) -> QWidget* { return new QListWidget(p); },
                                  [](QWidget* w, TWindowHandle* h) {
                                    auto* l = static_cast<QListWidget*>(w);
                                    QObject::connect(l, &QListWidget::itemSelectionChanged, w,
                                                     [h] { qtw::Notify(h, 1 /* LBN_SELCHANGE */); });
                                    QObject::connect(l, &QListWidget::itemDoubleClicked, w,
                                                     [h] { qtw::Notify(h, 2 /* LBN_DBLCLK */); });
                                    // Only check boxes of a check list box change items from the user.
                                    QObject::connect(l, &QListWidget::itemChanged, w, [h, l](QListWidgetItem* it) {
                                      qtw::Notify(h, 0x7200 /* LBN_CHECKCHANGE */, l->row(it));
                                    });
                                  }});
    qtw::RegisterWindowClass("KvComboBox",
                             TWindowClass{[](QWidget* p, const TCreateParams&) -> QWidget* {
                                            auto* c = new TComboWidget(p);
                                            c->setInsertPolicy(QComboBox::NoInsert);
                                            return c;
                                          },
                                          [](QWidget* w, TWindowHandle* h) { static_cast<TComboWidget*>(w)->H = h; }});
    qtw::RegisterWindowClass(
        "KvScrollBar",
        TWindowClass{[](QWidget* p, const TCreateParams&) -> QWidget* { return new QScrollBar(Qt::Horizontal, p); },
                     [](QWidget* w, TWindowHandle* h) {
                       auto* s = static_cast<QScrollBar*>(w);
                       constexpr uint16_t kScroll = 0x7000;  // SBN_SCROLL
                       QObject::connect(s, &QAbstractSlider::actionTriggered, w, [h, s](int action) {
                         int code = -1;
                         switch (action) {
                           case QAbstractSlider::SliderSingleStepSub: code = 0; break;
                           case QAbstractSlider::SliderSingleStepAdd: code = 1; break;
                           case QAbstractSlider::SliderPageStepSub: code = 2; break;
                           case QAbstractSlider::SliderPageStepAdd: code = 3; break;
                           case QAbstractSlider::SliderMove: code = 5; break;
                           case QAbstractSlider::SliderToMinimum: code = 6; break;
                           case QAbstractSlider::SliderToMaximum: code = 7; break;
                           default: break;
                         }
                         if (code >= 0) qtw::Notify(h, static_cast<uint16_t>(kScroll + code), s->sliderPosition());
                       });
                       QObject::connect(s, &QAbstractSlider::sliderReleased, w,
                                        [h, s] { qtw::Notify(h, kScroll + 4, s->sliderPosition()); });
                     }});
  }
};
const TRegistrar gRegistrar;
}  // namespace

namespace qtstd {

void SetEditOptions(TWindowHandle* h, const TEditOptions& o) {
  QWidget* w = qtw::WidgetOf(h);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setReadOnly(o.ReadOnly);
    e->setMaxLength(o.MaxLength > 0 ? o.MaxLength : 32767);
    e->setEchoMode(o.PasswordChar ? QLineEdit::Password : QLineEdit::Normal);
    e->setFrame(o.Border);
    e->setAlignment(o.Alignment == taRightJustify ? Qt::AlignRight
                    : o.Alignment == taCenter     ? Qt::AlignHCenter
                                                  : Qt::AlignLeft);
  } else if (auto* m = qobject_cast<QTextEdit*>(w)) {
    m->setReadOnly(o.ReadOnly);
    if (auto* memo = dynamic_cast<TMemoWidget*>(m)) memo->MaxLength = o.MaxLength;
    m->setFrameShape(o.Border ? QFrame::StyledPanel : QFrame::NoFrame);
    m->setLineWrapMode(o.WordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    m->setHorizontalScrollBarPolicy(o.HorzScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(o.VertScroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    QTextOption opt = m->document()->defaultTextOption();
    opt.setAlignment(o.Alignment == taRightJustify ? Qt::AlignRight
                     : o.Alignment == taCenter     ? Qt::AlignHCenter
                                                   : Qt::AlignLeft);
    QSignalBlocker block(m);
    m->document()->setDefaultTextOption(opt);
  }
}

std::string GetText(TWindowHandle* h) {
  QWidget* w = qtw::WidgetOf(h);
  // A masked edit's window text is what it shows: literals and blanks.
  if (auto* e = qobject_cast<QLineEdit*>(w))
    return (e->inputMask().isEmpty() ? e->text() : e->displayText()).toStdString();
  if (auto* m = qobject_cast<QTextEdit*>(w)) return ToWindowsText(m->toPlainText());
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  return "";
}

void SetText(TWindowHandle* h, const std::string& text) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  if (auto* e = qobject_cast<QLineEdit*>(w); e && !e->inputMask().isEmpty()) {
    // The toolkit's own parsing skips blanks; each character goes to its own place instead.
    QString s = FromStd(text);
    if (e->displayText() == s) return;
    QChar blank = e->inputMask().back();
    e->setText(QString());
    for (int i = 0; i < s.size() && i < e->displayText().size(); ++i) {
      if (s[i] == blank || s[i] == e->displayText()[i]) continue;
      e->setCursorPosition(i);
      e->insert(QString(s[i]));
    }
    e->setCursorPosition(0);
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    if (line->text() != FromStd(text)) line->setText(FromStd(text));
  } else if (auto* m = qobject_cast<QTextEdit*>(w)) {
    if (m->toPlainText() != FromWindowsText(text)) m->setPlainText(FromWindowsText(text));
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (c->isEditable()) c->setEditText(FromStd(text));
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(FromStd(text));
  }
}

void SetEditMask(TWindowHandle* h, const TEditMaskInfo& mask) {
  auto* e = qobject_cast<QLineEdit*>(qtw::WidgetOf(h));
  if (!e) return;
  QSignalBlocker block(e);
  if (mask.Chars.empty()) {
    e->setInputMask(QString());
    return;
  }
  // Delphi's places in the toolkit's mask language; literals that are mask characters there
  // are quoted.
  static const QString kSpecial = "AaNnXx90Dd#HhBb><!\\[]{}";
  QString qm;
  TMaskCase current = TMaskCase::None;
  for (const TMaskChar& c : mask.Chars) {
    if (c.Kind == TMaskCharKind::Literal) {
      if (kSpecial.contains(QChar(c.Literal))) qm += '\\';
      qm += QChar(c.Literal);
      continue;
    }
    if (c.Case != current) {
      qm += c.Case == TMaskCase::Upper ? '>' : c.Case == TMaskCase::Lower ? '<' : '!';
      current = c.Case;
    }
    switch (c.Kind) {
      case TMaskCharKind::Letter: qm += c.Required ? 'A' : 'a'; break;
      case TMaskCharKind::AlphaNum: qm += c.Required ? 'N' : 'n'; break;
      case TMaskCharKind::Any: qm += c.Required ? 'X' : 'x'; break;
      case TMaskCharKind::Digit: qm += c.Required ? '9' : '0'; break;
      default: qm += '#'; break;
    }
  }
  e->setInputMask(qm + ';' + QChar(mask.Blank));
}

void GetSel(TWindowHandle* h, int& start, int& length) {
  QWidget* w = qtw::WidgetOf(h);
  start = length = 0;
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (e->hasSelectedText()) {
      start = e->selectionStart();
      length = static_cast<int>(e->selectedText().size());
    } else {
      start = e->cursorPosition();
    }
  } else if (auto* m = qobject_cast<QTextEdit*>(w)) {
    QTextCursor c = m->textCursor();
    start = c.selectionStart();
    length = c.selectionEnd() - c.selectionStart();
  }
}

void SetSel(TWindowHandle* h, int start, int length) {
  QWidget* w = qtw::WidgetOf(h);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    int size = static_cast<int>(e->text().size());
    start = std::clamp(start, 0, size);
    int end = length < 0 ? size : std::clamp(start + length, start, size);
    e->setSelection(start, end - start);
    if (end == start) e->setCursorPosition(start);
  } else if (auto* m = qobject_cast<QTextEdit*>(w)) {
    QTextCursor c = m->textCursor();
    int size = static_cast<int>(m->toPlainText().size());
    start = std::clamp(start, 0, size);
    c.setPosition(start);
    c.setPosition(length < 0 ? size : std::clamp(start + length, start, size), QTextCursor::KeepAnchor);
    m->setTextCursor(c);
  }
}

std::string GetSelText(TWindowHandle* h) {
  QWidget* w = qtw::WidgetOf(h);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->selectedText().toStdString();
  if (auto* m = qobject_cast<QTextEdit*>(w))
    return ToWindowsText(m->textCursor().selectedText().replace(QChar(0x2029), '\n'));
  return "";
}

void ReplaceSel(TWindowHandle* h, const std::string& text) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->insert(FromStd(text));
  else if (auto* m = qobject_cast<QTextEdit*>(w)) m->textCursor().insertText(FromWindowsText(text));
}

void SetDefaultButton(TWindowHandle* h, bool isDefault) {
  if (auto* b = qobject_cast<QPushButton*>(qtw::WidgetOf(h))) b->setDefault(isDefault);
}

void SetButtonGlyph(TWindowHandle* h, TBitmap* glyph, int numGlyphs) {
  auto* b = qobject_cast<QPushButton*>(qtw::WidgetOf(h));
  if (!b) return;
  QImage strip = glyph ? ToQImage(glyph) : QImage();
  if (strip.isNull() || numGlyphs < 1) {
    b->setIcon(QIcon());
    return;
  }
  strip = strip.convertToFormat(QImage::Format_ARGB32);
  // The bottom-left pixel's colour is the glyph's background, as the VCL's buttons take it.
  const QRgb key = strip.pixel(0, strip.height() - 1);
  for (int y = 0; y < strip.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
    for (int x = 0; x < strip.width(); ++x)
      if (line[x] == key) line[x] = 0;
  }
  int gw = strip.width() / numGlyphs;
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(strip.copy(0, 0, gw, strip.height())), QIcon::Normal);
  if (numGlyphs > 1) icon.addPixmap(QPixmap::fromImage(strip.copy(gw, 0, gw, strip.height())), QIcon::Disabled);
  b->setIcon(icon);
  b->setIconSize(QSize(gw, strip.height()));
}

void SetCheckState(TWindowHandle* h, int state) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  if (auto* c = qobject_cast<QCheckBox*>(w))
    c->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  else if (auto* r = qobject_cast<QRadioButton*>(w)) r->setChecked(state != 0);
}

void SetLeftText(TWindowHandle* h, bool left) {
  qtw::WidgetOf(h)->setLayoutDirection(left ? Qt::RightToLeft : Qt::LeftToRight);
}

void SetListOptions(TWindowHandle* h, const TListOptions& o) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  w->setProperty("kvItemHeight", o.ItemHeight);
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    l->setSelectionMode(!o.MultiSelect     ? QAbstractItemView::SingleSelection
                        : o.ExtendedSelect ? QAbstractItemView::ExtendedSelection
                                           : QAbstractItemView::MultiSelection);
    l->setFlow(QListView::TopToBottom);
    l->setWrapping(o.Columns > 0);
    l->setFrameShape(o.Border ? QFrame::StyledPanel : QFrame::NoFrame);
    l->setUniformItemSizes(true);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    c->setEditable(o.Editable);
    c->setMaxVisibleItems(std::max(1, o.DropDownCount));
    if (QLineEdit* le = c->lineEdit()) {
      le->setMaxLength(o.MaxLength > 0 ? o.MaxLength : 32767);
      QObject::disconnect(le, &QLineEdit::textEdited, nullptr, nullptr);
      QObject::connect(le, &QLineEdit::textEdited, le, [h] { qtw::Notify(h, 5 /* CBN_EDITCHANGE */); });
    }
  }
}

void SetItems(TWindowHandle* h, const std::vector<std::string>& items) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  QStringList list;
  for (const auto& s : items) list << FromStd(s);
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    l->clear();
    l->addItems(list);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    QString text = c->currentText();
    c->clear();
    c->addItems(list);
    c->setCurrentIndex(-1);
    if (c->isEditable()) c->setEditText(text);
  }
}

int GetItemIndex(TWindowHandle* h) {
  QWidget* w = qtw::WidgetOf(h);
  if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentRow();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
  return -1;
}

void SetItemIndex(TWindowHandle* h, int index) {
  QWidget* w = qtw::WidgetOf(h);
  QSignalBlocker block(w);
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    QSignalBlocker blockModel(l->selectionModel());
    l->setCurrentRow(index);
    if (index < 0) l->clearSelection();
    l->viewport()->update();
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    QString text = c->currentText();
    c->setCurrentIndex(index);
    if (index < 0 && c->isEditable()) c->setEditText(text);
  }
}

void SetItemChecks(TWindowHandle* h, const std::vector<int>& states, const std::vector<bool>& enabled) {
  auto* l = qobject_cast<QListWidget*>(qtw::WidgetOf(h));
  if (!l) return;
  QSignalBlocker block(l);
  for (int i = 0; i < l->count(); ++i) {
    QListWidgetItem* it = l->item(i);
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (i >= static_cast<int>(enabled.size()) || enabled[i]) f |= Qt::ItemIsEnabled;
    it->setFlags(f);
    int s = i < static_cast<int>(states.size()) ? states[i] : 0;
    it->setCheckState(s == 1 ? Qt::Checked : s == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  }
}

std::vector<bool> GetSelection(TWindowHandle* h) {
  std::vector<bool> v;
  if (auto* l = qobject_cast<QListWidget*>(qtw::WidgetOf(h)))
    for (int i = 0; i < l->count(); ++i) v.push_back(l->item(i)->isSelected());
  return v;
}

void SetSelection(TWindowHandle* h, const std::vector<bool>& selected) {
  auto* l = qobject_cast<QListWidget*>(qtw::WidgetOf(h));
  if (!l) return;
  QSignalBlocker block(l);
  for (int i = 0; i < l->count(); ++i) l->item(i)->setSelected(i < static_cast<int>(selected.size()) && selected[i]);
}

int GetTopIndex(TWindowHandle* h) {
  auto* l = qobject_cast<QListWidget*>(qtw::WidgetOf(h));
  if (!l) return 0;
  QListWidgetItem* it = l->itemAt(2, 2);
  return it ? l->row(it) : 0;
}

void SetTopIndex(TWindowHandle* h, int index) {
  auto* l = qobject_cast<QListWidget*>(qtw::WidgetOf(h));
  if (l && index >= 0 && index < l->count()) l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
}

bool GetDroppedDown(TWindowHandle* h) {
  auto* c = qobject_cast<QComboBox*>(qtw::WidgetOf(h));
  return c && c->view()->isVisible();
}

void SetDroppedDown(TWindowHandle* h, bool down) {
  if (auto* c = qobject_cast<QComboBox*>(qtw::WidgetOf(h))) {
    if (down) c->showPopup();
    else c->hidePopup();
  }
}

void SetOwnerDraw(TWindowHandle* h, TCanvas* canvas, TDrawItemProc draw) {
  QWidget* w = qtw::WidgetOf(h);
  QAbstractItemView* view = ItemView(w);
  if (!view) return;
  QAbstractItemDelegate* old = view->itemDelegate();
  if (draw) {
    int height = w->property("kvItemHeight").toInt();
    auto* d = new TOwnerDrawDelegate(view, canvas, std::move(draw), height);
    if (auto* c = qobject_cast<QComboBox*>(w)) c->setItemDelegate(d);
    else view->setItemDelegate(d);
  } else if (dynamic_cast<TOwnerDrawDelegate*>(old)) {
    auto* d = new QStyledItemDelegate(view);
    if (auto* c = qobject_cast<QComboBox*>(w)) c->setItemDelegate(d);
    else view->setItemDelegate(d);
  } else {
    return;
  }
  if (dynamic_cast<TOwnerDrawDelegate*>(old)) old->deleteLater();
}

void SetScrollBar(TWindowHandle* h, bool vertical, int min, int max, int position, int pageSize, int smallChange,
                  int largeChange) {
  auto* s = qobject_cast<QScrollBar*>(qtw::WidgetOf(h));
  if (!s) return;
  QSignalBlocker block(s);
  s->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
  // Qt's page step is also the thumb's share of the range: the page size when there is one.
  s->setRange(min, std::max(min, max - std::max(0, pageSize - 1)));
  s->setSingleStep(smallChange);
  s->setPageStep(pageSize > 0 ? pageSize : largeChange);
  s->setValue(position);
}

}  // namespace qtstd
