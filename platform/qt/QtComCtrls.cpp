#include "QtComCtrls.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTextEdit>

#include <cmath>

#include "../Controls.h"
#include "QtNative.h"

namespace qtc {

namespace {
QWidget* W(TWindowHandle* h) { return qtw::WidgetOf(h); }

// TDateTime day 0 is 1899-12-30.
const QDate kEpoch(1899, 12, 30);
QDateTime FromDateTime(double v) {
  double days = std::floor(v);
  qint64 ms = std::llround((v - days) * 86400000.0);
  return QDateTime(kEpoch.addDays(static_cast<qint64>(days)), QTime(0, 0).addMSecs(static_cast<int>(ms)));
}
double ToDateTime(const QDateTime& d) {
  return static_cast<double>(kEpoch.daysTo(d.date())) + d.time().msecsSinceStartOfDay() / 86400000.0;
}
}  // namespace

int ScrollBarSize() {
  qtw::EnsureApplication();
  return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void SetScrollBar(TWinControl* control, bool vertical, bool visible, int max, int page, int pos, int inset,
                  bool tracking) {
  if (!control->HandleAllocated()) return;
  QWidget* w = W(control->Handle());
  if (!visible) {
    if (auto* bar = w->findChild<QScrollBar*>(vertical ? "kvVScroll" : "kvHScroll", Qt::FindDirectChildrenOnly))
      bar->hide();
    return;
  }
  QScrollBar* bar = qtw::ScrollBarOf(w, control, vertical);
  qtw::SetScrollBarState(bar, max, page, pos, 1, tracking);
  int s = ScrollBarSize();
  auto* other = w->findChild<QScrollBar*>(vertical ? "kvHScroll" : "kvVScroll", Qt::FindDirectChildrenOnly);
  int corner = other && other->isVisibleTo(w) ? s : 0;
  if (vertical) bar->setGeometry(w->width() - inset - s, inset, s, w->height() - 2 * inset - corner);
  else bar->setGeometry(inset, w->height() - inset - s, w->width() - 2 * inset - corner, s);
  bar->show();
}

void RegisterWindowClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  auto changed = [](TWindowHandle* h) { return [h] { qtw::Notify(h, EN_CHANGE); }; };
  qtw::RegisterWindowClass("msctls_progress32", {[](QWidget* parent, const TCreateParams&) {
                                                   auto* p = new QProgressBar(parent);
                                                   p->setTextVisible(false);
                                                   return static_cast<QWidget*>(p);
                                                 },
                                                 nullptr});
  qtw::RegisterWindowClass(
      "msctls_trackbar32",
      {[](QWidget* parent, const TCreateParams&) { return static_cast<QWidget*>(new QSlider(Qt::Horizontal, parent)); },
       [changed](QWidget* w, TWindowHandle* h) {
         QObject::connect(static_cast<QSlider*>(w), &QSlider::valueChanged, w, changed(h));
       }});
  qtw::RegisterWindowClass("KvSpinEdit", {[](QWidget* parent, const TCreateParams&) {
                                            auto* s = new QSpinBox(parent);
                                            s->setRange(INT32_MIN, INT32_MAX);
                                            return static_cast<QWidget*>(s);
                                          },
                                          [changed](QWidget* w, TWindowHandle* h) {
                                            QObject::connect(static_cast<QSpinBox*>(w), &QSpinBox::valueChanged, w,
                                                             changed(h));
                                          }});
  qtw::RegisterWindowClass(
      "RICHEDIT", {[](QWidget* parent, const TCreateParams&) { return static_cast<QWidget*>(new QTextEdit(parent)); },
                   [changed](QWidget* w, TWindowHandle* h) {
                     QObject::connect(static_cast<QTextEdit*>(w), &QTextEdit::textChanged, w, changed(h));
                   }});
  qtw::RegisterWindowClass("SysDateTimePick32", {[](QWidget* parent, const TCreateParams&) {
                                                   auto* d = new QDateTimeEdit(parent);
                                                   d->setCalendarPopup(true);
                                                   return static_cast<QWidget*>(d);
                                                 },
                                                 [changed](QWidget* w, TWindowHandle* h) {
                                                   QObject::connect(static_cast<QDateTimeEdit*>(w),
                                                                    &QDateTimeEdit::dateTimeChanged, w, changed(h));
                                                 }});
}

void SetRange(TWindowHandle* h, int min, int max) {
  QWidget* w = W(h);
  QSignalBlocker block(w);
  if (auto* p = qobject_cast<QProgressBar*>(w)) p->setRange(min, max);
  else if (auto* s = qobject_cast<QAbstractSlider*>(w)) s->setRange(min, max);
  else if (auto* b = qobject_cast<QSpinBox*>(w)) b->setRange(min, max);
}

void SetPosition(TWindowHandle* h, int pos) {
  QWidget* w = W(h);
  QSignalBlocker block(w);
  if (auto* p = qobject_cast<QProgressBar*>(w)) p->setValue(pos);
  else if (auto* s = qobject_cast<QAbstractSlider*>(w)) s->setValue(pos);
  else if (auto* b = qobject_cast<QSpinBox*>(w)) b->setValue(pos);
}

int GetPosition(TWindowHandle* h) {
  QWidget* w = W(h);
  if (auto* p = qobject_cast<QProgressBar*>(w)) return p->value();
  if (auto* s = qobject_cast<QAbstractSlider*>(w)) return s->value();
  if (auto* b = qobject_cast<QSpinBox*>(w)) return b->value();
  return 0;
}

void SetVertical(TWindowHandle* h, bool vertical) {
  Qt::Orientation o = vertical ? Qt::Vertical : Qt::Horizontal;
  if (auto* p = qobject_cast<QProgressBar*>(W(h))) p->setOrientation(o);
  else if (auto* s = qobject_cast<QSlider*>(W(h))) s->setOrientation(o);
}

void SetTicks(TWindowHandle* h, int style, int frequency) {
  auto* s = qobject_cast<QSlider*>(W(h));
  if (!s) return;
  static const QSlider::TickPosition kPos[] = {QSlider::NoTicks, QSlider::TicksAbove, QSlider::TicksBelow,
                                               QSlider::TicksBothSides};
  s->setTickPosition(kPos[std::clamp(style, 0, 3)]);
  s->setTickInterval(std::max(1, frequency));
}

void SetSingleStep(TWindowHandle* h, int step) {
  if (auto* b = qobject_cast<QSpinBox*>(W(h))) b->setSingleStep(step);
  else if (auto* s = qobject_cast<QAbstractSlider*>(W(h))) s->setSingleStep(step);
}

void SetReadOnly(TWindowHandle* h, bool readOnly) {
  QWidget* w = W(h);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(readOnly);
  else if (auto* b = qobject_cast<QAbstractSpinBox*>(w)) b->setReadOnly(readOnly);
  else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setReadOnly(readOnly);
}

std::string GetText(TWindowHandle* h) {
  QWidget* w = W(h);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* b = qobject_cast<QSpinBox*>(w)) return b->text().toStdString();
  if (auto* t = qobject_cast<QTextEdit*>(w)) return t->toPlainText().toStdString();
  return "";
}

int GetCaret(TWindowHandle* h) {
  auto* e = qobject_cast<QLineEdit*>(W(h));
  if (!e) e = W(h)->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  return e ? e->cursorPosition() : 0;
}

void SetSelection(TWindowHandle* h, int start, int length) {
  auto* e = qobject_cast<QLineEdit*>(W(h));
  if (!e) e = W(h)->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  if (e) e->setSelection(start, length);
}

void SetRichText(TWindowHandle* h, const std::string& text, bool plain) {
  auto* t = qobject_cast<QTextEdit*>(W(h));
  if (!t) return;
  QSignalBlocker block(t);
  t->setAcceptRichText(!plain);
  if (plain) t->setPlainText(QString::fromStdString(text));
  else t->setText(QString::fromStdString(text));
}

void SetDateTime(TWindowHandle* h, double value, bool timeOnly, bool longFormat) {
  auto* d = qobject_cast<QDateTimeEdit*>(W(h));
  if (!d) return;
  QSignalBlocker block(d);
  d->setDisplayFormat(timeOnly ? "h:mm:ss AP" : longFormat ? "dddd, MMMM d, yyyy" : "M/d/yyyy");
  d->setDateTime(FromDateTime(value));
}

double GetDateTime(TWindowHandle* h) {
  auto* d = qobject_cast<QDateTimeEdit*>(W(h));
  return d ? ToDateTime(d->dateTime()) : 0;
}

}  // namespace qtc
