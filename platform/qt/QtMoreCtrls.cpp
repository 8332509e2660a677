#include "QtMoreCtrls.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <map>
#include <memory>

#include "QtNative.h"

namespace qtm {

namespace {
std::map<int, std::unique_ptr<QTimer>>& Timers() {
  static std::map<int, std::unique_ptr<QTimer>> timers;
  return timers;
}

QLineEdit* SpinLineEdit(TWindowHandle* h) {
  auto* s = qobject_cast<QAbstractSpinBox*>(qtw::WidgetOf(h));
  return s ? s->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
}  // namespace

int StartTimer(int ms, std::function<void()> fire) {
  static int next = 0;
  int id = ++next;
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(ms);
  QObject::connect(timer.get(), &QTimer::timeout, std::move(fire));
  timer->start();
  Timers()[id] = std::move(timer);
  return id;
}

// The timer may be stopped from its own handler, so it is deleted once its signal is done.
void StopTimer(int id) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  it->second->stop();
  it->second.release()->deleteLater();
  Timers().erase(it);
}

void SetEditorEnabled(TWindowHandle* h, bool enabled) {
  if (QLineEdit* e = SpinLineEdit(h)) e->setReadOnly(!enabled);
}

void SetMaxLength(TWindowHandle* h, int maxLength) {
  if (QLineEdit* e = SpinLineEdit(h)) e->setMaxLength(maxLength > 0 ? maxLength : 32767);
}

}  // namespace qtm
