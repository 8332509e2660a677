// Menus on Qt: a QMenuBar at the top of a form's window, a QMenu per popup menu. Both are
// rebuilt from the item tree when the menu changes; each action knows its item through the
// "kvItem" property, so hovering and choosing go back to the menus unit.
#include "QtMenus.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <algorithm>
#include <map>

#include "../ComCtrls.h"
#include "../Menus.h"
#include "QtGraphics.h"
#include "QtNative.h"

namespace {

TMenuItem* ItemOf(QAction* a) {
  return a ? reinterpret_cast<TMenuItem*>(a->property("kvItem").value<quintptr>()) : nullptr;
}

struct TShown {
  std::vector<QPointer<QMenuBar>> Bars;
  QPointer<QMenu> Popup;
};
std::map<TMenu*, TShown>& Shown() {
  static std::map<TMenu*, TShown> m;
  return m;
}

bool ByMouse(QWidget* w) { return w && w->isVisible() && w->geometry().contains(QCursor::pos()); }

// Takes the old entries off now and frees them later: a rebuild may come from a handler that
// runs inside one of their signals.
void Empty(QWidget* w) {
  for (QAction* a : w->actions()) {
    w->removeAction(a);
    if (a->parent() == w) a->deleteLater();
    if (QMenu* sub = a->menu(); sub && sub->parent() == w) sub->deleteLater();
  }
}

// While a drop-down is about to show, its items' actions update; the changes they make are put
// on the shown entries in place instead of rebuilding the menu under the open drop-down.
bool gQtMenusInPlace = false;
bool gQtMenusStale = false;

// The item's icon: its ImageIndex in the menu's Images (with the list's mask, or else its
// corner colour as transparent), else its own Bitmap.
QIcon QtMenusIcon(TMenuItem* item, TMenu* menu) {
  TImageList* images = menu->GetImages();
  int index = item->GetImageIndex();
  if (images && index >= 0 && index < images->Count()) {
    int w = images->GetWidth(), h = images->GetHeight();
    TBitmap bmp;
    bmp.SetSize(w, h);
    images->Draw(bmp.Canvas(), 0, 0, index);
    QImage mask = images->GetMasked() && images->Mask() ? ToQImage(images->Mask()) : QImage();
    if (mask.isNull()) {
      bmp.SetTransparent(images->GetMasked());
      return QIcon(ToQPixmap(&bmp));
    }
    QImage img = ToQImage(&bmp).convertToFormat(QImage::Format_ARGB32);
    int perRow = std::max(1, mask.width() / w);
    int mx = (index % perRow) * w, my = (index / perRow) * h;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (mask.valid(mx + x, my + y) && qGray(mask.pixel(mx + x, my + y)) > 127) img.setPixel(x, y, 0);
    return QIcon(QPixmap::fromImage(img));
  }
  if (item->IsBitmapStored()) return QIcon(ToQPixmap(item->GetBitmap()));
  return {};
}

QString QtMenusText(TMenuItem* item) {
  QString text = QString::fromStdString(item->GetCaption());
  if (item->Count() == 0 && item->GetShortCut())
    text += "\t" + QString::fromStdString(ShortCutToText(item->GetShortCut()));
  return text;
}

// What an entry shows of its item.
void QtMenusApply(QAction* a, TMenuItem* item, TMenu* menu) {
  a->setText(QtMenusText(item));
  a->setIcon(QtMenusIcon(item, menu));
  a->setEnabled(item->GetEnabled());
  a->setCheckable(item->GetChecked() || item->GetRadioItem());
  a->setChecked(item->GetChecked());
  a->setVisible(item->GetVisible() || menu->InState(csDesigning));
  QFont f = a->font();
  f.setBold(item->GetDefault());
  a->setFont(f);
}

void QtMenusRefresh(QWidget* w, TMenu* menu) {
  for (QAction* a : w->actions()) {
    if (TMenuItem* it = ItemOf(a); it && !a->isSeparator()) QtMenusApply(a, it, menu);
    if (a->menu()) QtMenusRefresh(a->menu(), menu);
  }
}

void Fill(QWidget* target, TMenuItem* parent, TMenu* menu) {
  bool designing = menu->InState(csDesigning);
  auto* asMenu = qobject_cast<QMenu*>(target);
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->GetVisible() && !designing) continue;
    if (item->IsLine()) {
      if (asMenu) asMenu->addSeparator()->setProperty("kvItem", QVariant::fromValue(reinterpret_cast<quintptr>(item)));
      continue;
    }
    QAction* a;
    if (item->Count() > 0) {
      auto* sub = new QMenu(QtMenusText(item), target);
      Fill(sub, item, menu);
      QObject::connect(sub, &QMenu::aboutToShow, sub, [item, menu] {
        gQtMenusInPlace = true;
        try {
          MenuItemShowing(item);
        } catch (...) {
          gQtMenusInPlace = false;
          throw;
        }
        gQtMenusInPlace = false;
        if (gQtMenusStale) qtm::Rebuild(menu);
      });
      QObject::connect(sub, &QMenu::hovered, sub, [sub](QAction* h) {
        if (TMenuItem* it = ItemOf(h)) MenuItemSelected(it, ByMouse(sub));
      });
      if (parent == menu->Items() && qobject_cast<QMenuBar*>(target))
        QObject::connect(sub, &QMenu::aboutToHide, sub, [menu] { MenuClosed(menu); });
      a = sub->menuAction();
    } else {
      a = new QAction(target);
      QObject::connect(a, &QAction::triggered, a, [item] { MenuItemChosen(item); });
    }
    a->setProperty("kvItem", QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    QtMenusApply(a, item, menu);
    target->addAction(a);
  }
}

void BuildBar(QMenuBar* bar, TMenu* menu) {
  Empty(bar);
  Fill(bar, menu->Items(), menu);
}

void BuildPopup(QMenu* popup, TMenu* menu) {
  Empty(popup);
  Fill(popup, menu->Items(), menu);
}

QMenuBar* BarOf(QWidget* window) { return window->findChild<QMenuBar*>("kvMenuBar", Qt::FindDirectChildrenOnly); }

QAction* FindAction(QWidget* w, TMenuItem* item, QWidget*& owner) {
  for (QAction* a : w->actions()) {
    if (ItemOf(a) == item) {
      owner = w;
      return a;
    }
    if (a->menu())
      if (QAction* found = FindAction(a->menu(), item, owner)) return found;
  }
  return nullptr;
}

// The action of item in whatever shows its menu now.
QAction* ShownAction(TMenuItem* item, QWidget*& owner) {
  TMenu* menu = item->GetParentMenu();
  auto it = Shown().find(menu);
  if (it == Shown().end()) return nullptr;
  if (it->second.Popup && it->second.Popup->isVisible())
    if (QAction* a = FindAction(it->second.Popup, item, owner)) return a;
  for (auto& bar : it->second.Bars)
    if (bar)
      if (QAction* a = FindAction(bar, item, owner)) return a;
  return nullptr;
}

}  // namespace

namespace qtm {

int MenuBarHeight(TMenu* menu) {
  qtw::EnsureApplication();
  // Entries in scripts that the menu font lacks come in a taller fallback font.
  QMenuBar bar;
  if (!menu) bar.addAction("&File");
  for (int i = 0; menu && i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (item->GetVisible() || menu->InState(csDesigning)) bar.addAction(QString::fromStdString(item->GetCaption()));
  }
  return bar.sizeHint().height();
}

void SetMenuBar(TWindowHandle* window, TMenu* menu) {
  QWidget* w = qtw::FrameOf(window);
  QMenuBar* bar = BarOf(w);
  for (auto& [m, shown] : Shown())
    std::erase_if(shown.Bars, [bar](const QPointer<QMenuBar>& b) { return !b || b == bar; });
  if (!menu) {
    delete bar;
    return;
  }
  if (!bar) {
    bar = new QMenuBar(w);
    bar->setObjectName("kvMenuBar");
    QObject::connect(bar, &QMenuBar::hovered, bar, [bar](QAction* h) {
      if (TMenuItem* it = ItemOf(h)) MenuItemSelected(it, ByMouse(bar));
    });
    bar->show();
  }
  Shown()[menu].Bars.push_back(bar);
  BuildBar(bar, menu);
  qtw::LayoutFrame(window);
}

void Rebuild(TMenu* menu) {
  auto it = Shown().find(menu);
  if (it == Shown().end()) return;
  if (gQtMenusInPlace) {
    gQtMenusStale = true;
    return;
  }
  if (gQtMenusStale) {
    // Called after a drop-down's update: its entries change in place.
    gQtMenusStale = false;
    for (auto& bar : it->second.Bars)
      if (bar) QtMenusRefresh(bar, menu);
    if (it->second.Popup) QtMenusRefresh(it->second.Popup, menu);
    return;
  }
  for (auto& bar : it->second.Bars)
    if (bar) BuildBar(bar, menu);
  if (it->second.Popup) BuildPopup(it->second.Popup, menu);
}

void Release(TMenu* menu) {
  auto it = Shown().find(menu);
  if (it == Shown().end()) return;
  for (auto& bar : it->second.Bars)
    if (bar) Empty(bar);
  if (it->second.Popup) {
    it->second.Popup->disconnect();
    it->second.Popup->hide();
    it->second.Popup->deleteLater();
  }
  Shown().erase(it);
}

void Popup(TPopupMenu* menu, const TPoint& p, int alignment) {
  qtw::EnsureApplication();
  TShown& shown = Shown()[menu];
  if (!shown.Popup) {
    shown.Popup = new QMenu;
    QMenu* popup = shown.Popup;
    QObject::connect(popup, &QMenu::hovered, popup, [popup](QAction* h) {
      if (TMenuItem* it = ItemOf(h)) MenuItemSelected(it, ByMouse(popup));
    });
    QObject::connect(popup, &QMenu::aboutToHide, popup, [menu] { MenuClosed(menu); });
  }
  BuildPopup(shown.Popup, menu);
  QSize size = shown.Popup->sizeHint();
  int x = alignment == paRight ? p.X - size.width() : alignment == paCenter ? p.X - size.width() / 2 : p.X;
  shown.Popup->popup(QPoint(x, p.Y));
}

void ClosePopup(TPopupMenu* menu) {
  auto it = Shown().find(menu);
  if (it != Shown().end() && it->second.Popup) it->second.Popup->hide();
}

TRect PopupBounds(TPopupMenu* menu) {
  auto it = Shown().find(menu);
  if (it == Shown().end() || !it->second.Popup || !it->second.Popup->isVisible()) return {};
  QRect r = it->second.Popup->geometry();
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

std::vector<std::string> MenuBarTexts(TWindowHandle* window) {
  std::vector<std::string> r;
  if (QMenuBar* bar = BarOf(qtw::FrameOf(window)))
    for (QAction* a : bar->actions()) r.push_back(a->text().toStdString());
  return r;
}

bool Highlight(TMenuItem* item) {
  QWidget* owner = nullptr;
  QAction* a = ShownAction(item, owner);
  if (!a) return false;
  if (auto* bar = qobject_cast<QMenuBar*>(owner)) {
    bar->setActiveAction(a);
  } else if (auto* m = qobject_cast<QMenu*>(owner)) {
    if (!m->isVisible()) return false;
    m->setActiveAction(a);
  }
  return true;
}

bool Trigger(TMenuItem* item) {
  QWidget* owner = nullptr;
  QAction* a = ShownAction(item, owner);
  if (!a || !a->isEnabled()) return false;
  a->trigger();
  return true;
}

bool ShownIcon(TMenuItem* item, TBitmap* bitmap) {
  QWidget* owner = nullptr;
  QAction* a = ShownAction(item, owner);
  if (!a || a->icon().isNull()) return false;
  QIcon icon = a->icon();
  AssignQImage(bitmap, icon.pixmap(icon.availableSizes().value(0, QSize(16, 16))).toImage());
  return true;
}

}  // namespace qtm
