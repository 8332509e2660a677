#include "QtClipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "../Controls.h"
#include "QtNative.h"
#include "QtWidgets.h"

namespace {
QClipboard* QtClipbrdBoard() {
  qtw::EnsureApplication();
  return QGuiApplication::clipboard();
}

// The edit widget of a handle: the widget itself or its inner one (a combo box's, a spin's).
template <class W>
W* QtClipbrdEdit(TWindowHandle* h) {
  QWidget* w = h ? qtw::WidgetOf(h) : nullptr;
  if (!w) return nullptr;
  if (auto* e = qobject_cast<W*>(w)) return e;
  return w->findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
}
}  // namespace

namespace qtcb {

std::string ClipboardText() { return QtClipbrdBoard()->text().toStdString(); }

void SetClipboardText(const std::string& text) { QtClipbrdBoard()->setText(QString::fromStdString(text)); }

bool ClipboardHasText() {
  const QMimeData* d = QtClipbrdBoard()->mimeData();
  return d && d->hasText() && !d->text().isEmpty();
}

void ClearClipboard() { QtClipbrdBoard()->clear(); }

bool CanUndo(TWindowHandle* h) {
  if (auto* e = QtClipbrdEdit<QLineEdit>(h)) return e->isUndoAvailable();
  if (auto* e = QtClipbrdEdit<QTextEdit>(h)) return e->document()->isUndoAvailable();
  if (auto* e = QtClipbrdEdit<QPlainTextEdit>(h)) return e->document()->isUndoAvailable();
  return false;
}

void Undo(TWindowHandle* h) {
  if (auto* e = QtClipbrdEdit<QLineEdit>(h)) {
    e->undo();
    // A line edit tells of typed changes only; this one is the user's too.
    qtw::Notify(h, EN_CHANGE);
  } else if (auto* text = QtClipbrdEdit<QTextEdit>(h)) {
    text->undo();
  } else if (auto* plain = QtClipbrdEdit<QPlainTextEdit>(h)) {
    plain->undo();
  }
}

}  // namespace qtcb
