// Dialogs on Qt: always the toolkit's own widgets (DontUseNativeDialog), so that a scripted
// session sees ordinary windows it can type into and click.
#include "QtDialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "../Dialogs.h"
#include "QtGraphics.h"
#include "QtNative.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// "Delphi form (*.dfm)" with "*.dfm" stays as it is; otherwise the patterns are appended in
// the parentheses Qt reads them from.
QString NameFilter(const std::string& description, const std::string& patterns) {
  QString pats = Q(patterns).replace(';', ' ').simplified();
  QString desc = Q(description).trimmed();
  if (desc.endsWith(')')) {
    qsizetype open = desc.lastIndexOf('(');
    if (open >= 0 && desc.mid(open + 1, desc.size() - open - 2).replace(';', ' ').simplified() == pats) {
      return desc.left(open) + "(" + pats + ")";
    }
  }
  return desc + " (" + pats + ")";
}

class TFileDialog : public QFileDialog {
 public:
  std::function<bool(const std::vector<std::string>&, int)> Check;
  QStringList Filters;

  // The unit's checks replace Qt's own (existence, overwrite), so that both speak alike.
  void accept() override {
    QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && QFileInfo(chosen[0]).isDir()) {
      setDirectory(chosen[0]);
      return;
    }
    std::vector<std::string> files;
    for (const QString& f : chosen) files.push_back(f.toStdString());
    int index = static_cast<int>(Filters.indexOf(selectedNameFilter())) + 1;
    if (Check(files, index > 0 ? index : 1)) QDialog::accept();
  }
};

std::map<TFindDialog*, QPointer<QDialog>>& FindWindows() {
  static std::map<TFindDialog*, QPointer<QDialog>> m;
  return m;
}

}  // namespace

namespace qtd {

bool ExecuteFileDialog(const TFileRequest& r, const std::function<bool(const std::vector<std::string>&, int)>& accept) {
  qtw::EnsureApplication();
  TFileDialog d;
  d.Check = accept;
  d.setOption(QFileDialog::DontUseNativeDialog);
  d.setOption(QFileDialog::DontConfirmOverwrite);
  d.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(r.MultiSelect && !r.Save ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  d.setWindowTitle(Q(!r.Title.empty() ? r.Title : r.Save ? "Save As" : "Open"));
  for (auto& [desc, pats] : r.Filters) d.Filters << NameFilter(desc, pats);
  if (!d.Filters.isEmpty()) {
    d.setNameFilters(d.Filters);
    d.selectNameFilter(d.Filters.value(r.FilterIndex - 1, d.Filters.first()));
  }
  QFileInfo name(Q(r.FileName));
  if (!r.InitialDir.empty()) d.setDirectory(Q(r.InitialDir));
  else if (!r.FileName.empty() && name.dir().exists()) d.setDirectory(name.dir());
  if (!r.FileName.empty()) d.selectFile(name.fileName());
  return d.exec() == QDialog::Accepted;
}

bool ExecuteFontDialog(TFont* font, const std::string& title) {
  qtw::EnsureApplication();
  QFontDialog d(ToQFont(*font));
  d.setOption(QFontDialog::DontUseNativeDialog);
  d.setWindowTitle(Q(title));
  if (d.exec() != QDialog::Accepted) return false;
  QFont f = d.selectedFont();
  font->SetName(f.family().toStdString());
  font->SetSize(f.pointSize());
  TFontStyles style;
  if (f.bold()) style.Include(fsBold);
  if (f.italic()) style.Include(fsItalic);
  if (f.underline()) style.Include(fsUnderline);
  if (f.strikeOut()) style.Include(fsStrikeOut);
  font->SetStyle(style);
  return true;
}

bool ExecuteColorDialog(int& color, std::vector<int>& custom, bool fullOpen) {
  qtw::EnsureApplication();
  auto toQ = [](int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
  for (int i = 0; i < static_cast<int>(custom.size()) && i < QColorDialog::customCount(); ++i)
    QColorDialog::setCustomColor(i, toQ(custom[i]));
  QColorDialog d(toQ(color));
  d.setOption(QColorDialog::DontUseNativeDialog);
  d.setWindowTitle("Color");
  (void)fullOpen;  // Qt's dialog always shows the custom colour editor
  if (d.exec() != QDialog::Accepted) return false;
  auto fromQ = [](const QColor& q) { return q.red() | (q.green() << 8) | (q.blue() << 16); };
  color = fromQ(d.currentColor());
  for (int i = 0; i < static_cast<int>(custom.size()) && i < QColorDialog::customCount(); ++i)
    custom[i] = fromQ(QColorDialog::customColor(i));
  return true;
}

int MessageDialog(const std::string& text, const std::string& caption, int type,
                  const std::vector<TButtonSpec>& buttons, int defaultIndex, int x, int y) {
  qtw::EnsureApplication();
  QMessageBox box;
  box.setText(Q(text));
  box.setWindowTitle(Q(caption));
  box.setIcon(type == mtWarning        ? QMessageBox::Warning
              : type == mtError        ? QMessageBox::Critical
              : type == mtInformation  ? QMessageBox::Information
              : type == mtConfirmation ? QMessageBox::Question
                                       : QMessageBox::NoIcon);
  std::vector<QAbstractButton*> made;
  for (const TButtonSpec& b : buttons) {
    QMessageBox::ButtonRole role = b.Result == mrNone     ? QMessageBox::HelpRole
                                   : b.Result == mrCancel ? QMessageBox::RejectRole
                                                          : QMessageBox::AcceptRole;
    made.push_back(box.addButton(Q(b.Caption), role));
  }
  if (defaultIndex >= 0 && defaultIndex < static_cast<int>(made.size()))
    box.setDefaultButton(static_cast<QPushButton*>(made[defaultIndex]));
  if (x >= 0 && y >= 0) box.move(x, y);
  for (;;) {
    box.exec();
    auto it = std::find(made.begin(), made.end(), box.clickedButton());
    if (it == made.end()) return mrCancel;  // closed by the window's own button
    int result = buttons[it - made.begin()].Result;
    if (result != mrNone) return result;  // Help keeps the dialog
  }
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  qtw::EnsureApplication();
  QInputDialog d;
  d.setWindowTitle(Q(caption));
  d.setLabelText(Q(prompt));
  d.setTextValue(Q(value));
  if (d.exec() != QDialog::Accepted) return false;
  value = d.textValue().toStdString();
  return true;
}

void ShowFindDialog(TFindDialog* dialog, bool replace) {
  qtw::EnsureApplication();
  QPointer<QDialog>& slot = FindWindows()[dialog];
  if (!slot) {
    auto* d = new QDialog;
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setWindowTitle(replace ? "Replace" : "Find");
    auto* grid = new QGridLayout(d);
    auto* find = new QLineEdit(Q(dialog->GetFindText()));
    find->setObjectName("FindText");
    grid->addWidget(new QLabel("Fi&nd what:"), 0, 0);
    grid->addWidget(find, 0, 1);
    QLineEdit* repl = nullptr;
    if (replace) {
      repl = new QLineEdit(Q(static_cast<TReplaceDialog*>(dialog)->GetReplaceText()));
      repl->setObjectName("ReplaceText");
      grid->addWidget(new QLabel("Re&place with:"), 1, 0);
      grid->addWidget(repl, 1, 1);
    }
    TFindOptions o = dialog->GetOptions();
    auto* whole = new QCheckBox("Match &whole word only");
    whole->setChecked(o.Contains(frWholeWord));
    whole->setVisible(!o.Contains(frHideWholeWord));
    whole->setEnabled(!o.Contains(frDisableWholeWord));
    auto* matchCase = new QCheckBox("Match &case");
    matchCase->setChecked(o.Contains(frMatchCase));
    matchCase->setVisible(!o.Contains(frHideMatchCase));
    matchCase->setEnabled(!o.Contains(frDisableMatchCase));
    grid->addWidget(whole, 2, 0, 1, 2);
    grid->addWidget(matchCase, 3, 0, 1, 2);
    QRadioButton* down = nullptr;
    if (!replace) {
      auto* dir = new QGroupBox("Direction");
      auto* dl = new QVBoxLayout(dir);
      auto* up = new QRadioButton("&Up");
      down = new QRadioButton("&Down");
      (o.Contains(frDown) ? down : up)->setChecked(true);
      dl->addWidget(up);
      dl->addWidget(down);
      dir->setVisible(!o.Contains(frHideUpDown));
      dir->setEnabled(!o.Contains(frDisableUpDown));
      grid->addWidget(dir, 4, 0, 1, 2);
    }
    auto options = [dialog, whole, matchCase, down] {
      TFindOptions r = dialog->GetOptions();
      auto set = [&r](TFindOption f, bool on) { on ? r.Include(f) : r.Exclude(f); };
      set(frWholeWord, whole->isChecked());
      set(frMatchCase, matchCase->isChecked());
      if (down) set(frDown, down->isChecked());
      return r;
    };
    auto* buttons = new QVBoxLayout;
    auto* next = new QPushButton("&Find Next");
    next->setDefault(true);
    QObject::connect(next, &QPushButton::clicked, d,
                     [dialog, find, options] { dialog->FindNextClicked(find->text().toStdString(), options()); });
    buttons->addWidget(next);
    if (replace) {
      for (bool all : {false, true}) {
        auto* b = new QPushButton(all ? "Replace &All" : "&Replace");
        QObject::connect(b, &QPushButton::clicked, d, [dialog, find, repl, options, all] {
          static_cast<TReplaceDialog*>(dialog)->ReplaceClicked(find->text().toStdString(), repl->text().toStdString(),
                                                               options(), all);
        });
        buttons->addWidget(b);
      }
    }
    auto* cancel = new QPushButton("Cancel");
    QObject::connect(cancel, &QPushButton::clicked, d, [dialog] { dialog->CloseDialog(); });
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 5, 1);
    TPoint p = dialog->GetPosition();
    if (p.X >= 0 && p.Y >= 0) d->move(p.X, p.Y);
    slot = d;
  }
  slot->show();
  slot->raise();
}

void CloseFindDialog(TFindDialog* dialog) {
  auto it = FindWindows().find(dialog);
  if (it == FindWindows().end()) return;
  QPointer<QDialog> d = it->second;
  FindWindows().erase(it);
  if (d) d->close();
}

bool FindDialogShowing(TFindDialog* dialog) {
  auto it = FindWindows().find(dialog);
  return it != FindWindows().end() && it->second && it->second->isVisible();
}

}  // namespace qtd
