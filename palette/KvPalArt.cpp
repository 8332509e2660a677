// KvPalArt: the drawings of the palette bitmaps, one per standard component class and one for
// each of the palette's own buttons. Each draws on a 24 x 24 olive background (the bottom-left
// pixel, which the buttons show transparent) in the 16 colours of the standard palette.
#include "KvPalArt.h"

#include "KvClass.h"

#include "KvPixels.h"

namespace {
using P = TPixelPainter;

// --- Shared pieces --------------------------------------------------------------------------
void Edit(P& p, int top) {
  p.Sunken(1, top, 22, top + 9);
  p.Small(4, top + 3, "ab", clBlack);
  p.VLine(12, top + 2, top + 7, clBlack);  // the caret
}

void ComboButton(P& p, int top) {
  p.Raised(14, top + 2, 21, top + 8);
  p.Polygon({{15, top + 4}, {19, top + 4}, {17, top + 6}}, clBlack);
}

void Combo(P& p, int top) {
  p.Sunken(1, top, 22, top + 9);
  p.Small(4, top + 3, "ab", clBlack);
  ComboButton(p, top);
}

void Memo(P& p) {
  p.Sunken(2, 1, 21, 22);
  p.TextLines(5, 5, 3, {12, 9, 13, 6, 11, 8}, clBlack);
}

void ListBox(P& p) {
  p.Sunken(2, 1, 21, 22);
  p.TextLines(5, 5, 3, {10, 12}, clBlack);
  p.Fill(4, 10, 19, 12, clNavy);
  p.HLine(5, 13, 11, clWhite);
  p.TextLines(5, 14, 3, {9, 12, 7}, clBlack);
}

void CheckMark(P& p, int x, int y, TColor color) {
  for (int i = 0; i < 3; ++i) {
    p.Line(x, y + 2 + i, x + 2, y + 4 + i, color);
    p.Line(x + 2, y + 4 + i, x + 6, y + i, color);
  }
}

void CheckBox(P& p) {
  p.Sunken(2, 6, 12, 16);
  CheckMark(p, 4, 8, clBlack);
  p.TextLines(14, 11, 1, {8}, clBlack);
}

void RadioDot(P& p, int x, int y, int size, bool checked) {
  p.Disc(x, y, x + size - 1, y + size - 1, clWhite, clGray);
  const int in = size / 3;
  if (checked) p.Fill(x + in, y + in, x + size - 1 - in, y + size - 1 - in, clBlack);
}

void GroupFrame(P& p) {
  p.Frame(1, 4, 21, 21, clGray);
  p.Frame(2, 5, 22, 22, clWhite);
  p.Fill(4, 2, 11, 7, clOlive);
  p.Small(4, 2, "ab", clBlack);
}

void RadioGroup(P& p) {
  GroupFrame(p);
  RadioDot(p, 5, 7, 7, true);
  p.HLine(14, 19, 10, clBlack);
  RadioDot(p, 5, 14, 7, false);
  p.HLine(14, 19, 17, clBlack);
}

// A grid with a fixed row and column and two rows of two cells: (6..12 | 14..21) x (8..13 | 15..20).
void Grid(P& p, TColor header) {
  p.Fill(1, 2, 22, 21, clWhite);
  p.Fill(1, 2, 22, 7, header);
  p.Fill(1, 2, 5, 21, header);
  for (int y : {2, 7, 14, 21}) p.HLine(1, 22, y, clBlack);
  for (int x : {1, 5, 13, 22}) p.VLine(x, 2, 21, clBlack);
}

void Picture(P& p, int l, int t, int r, int b) {
  p.Fill(l, t, r, b, clAqua);
  p.Disc(r - 6, t + 1, r - 2, t + 5, clYellow, clYellow);
  p.Polygon({{l, b - 3}, {l + (r - l) / 3, t + (b - t) / 2}, {l + (r - l) * 2 / 3, b - 3}}, clGreen);
  p.Fill(l, b - 3, r, b, clGreen);
  p.Frame(l - 1, t - 1, r + 1, b + 1, clBlack);
}

void Cylinder(P& p, int l, int t, int r, int b, TColor body) {
  const int h = (r - l) / 3;  // the height of the ellipse of the top and the bottom
  p.Disc(l, b - h, r, b, body, clBlack);
  p.Fill(l, t + h / 2, r, b - h / 2, body);
  p.VLine(l, t + h / 2, b - h / 2, clBlack);
  p.VLine(r, t + h / 2, b - h / 2, clBlack);
  p.Disc(l, t, r, t + h, body, clBlack);
  p.Disc(l + 1, t + 1, r - 1, t + h - 1, clWhite, clWhite);
}

// The badge of the data-aware controls: a small database in the bottom-right corner.
void DataBadge(P& p) {
  p.Fill(14, 12, 23, 23, clOlive);
  Cylinder(p, 15, 13, 22, 22, clYellow);
}

// A dialog window with its title bar; the picture goes into (5, 7)-(20, 20).
void Dialog(P& p) {
  p.Fill(1, 2, 22, 21, clSilver);
  p.Frame(1, 2, 22, 21, clBlack);
  p.Fill(2, 3, 21, 5, clNavy);
  p.Fill(19, 3, 20, 4, clSilver);
}

void Folder(P& p, int x, int y) {
  p.Fill(x, y + 2, x + 11, y + 10, clOlive);
  p.Fill(x, y + 1, x + 4, y + 2, clYellow);
  p.Fill(x, y + 3, x + 11, y + 10, clYellow);
  p.Frame(x, y + 3, x + 11, y + 10, clBlack);
  p.Polygon({{x + 2, y + 6}, {x + 14, y + 6}, {x + 11, y + 10}, {x, y + 10}}, clOlive);
  p.Line(x + 2, y + 6, x + 14, y + 6, clBlack);
  p.Line(x + 14, y + 6, x + 11, y + 10, clBlack);
}

void Disk(P& p, int x, int y) {
  p.Fill(x, y, x + 11, y + 11, clNavy);
  p.Fill(x + 2, y, x + 9, y + 4, clWhite);
  p.Fill(x + 3, y + 7, x + 8, y + 11, clSilver);
  p.Fill(x + 4, y + 8, x + 5, y + 10, clNavy);
}

void SmallPicture(P& p, int x, int y) { Picture(p, x, y, x + 8, y + 6); }

void Magnifier(P& p, int x, int y) {
  p.Disc(x, y, x + 8, y + 8, clAqua, clBlack);
  p.Disc(x + 1, y + 1, x + 7, y + 7, clAqua, clBlack);
  p.Px(x + 3, y + 3, clWhite);
  for (int i = 0; i < 2; ++i) p.Line(x + 7 + i, y + 8, x + 10 + i, y + 11, clMaroon);
  p.Line(x + 8, y + 8, x + 11, y + 11, clMaroon);
}

void TriangleLeft(P& p, int x, int y, int h, TColor color) {
  p.Polygon({{x + h, y - h}, {x, y}, {x + h, y + h}}, color);
}

void TriangleRight(P& p, int x, int y, int h, TColor color) { p.Polygon({{x, y - h}, {x + h, y}, {x, y + h}}, color); }

// --- Standard -------------------------------------------------------------------------------
void MainMenu(P& p) {
  p.Fill(1, 2, 22, 21, clWhite);
  p.Frame(1, 2, 22, 21, clBlack);
  p.Fill(2, 3, 21, 7, clSilver);
  p.Fill(3, 4, 8, 6, clNavy);
  p.HLine(4, 7, 5, clWhite);
  p.HLine(10, 13, 5, clBlack);
  p.HLine(15, 19, 5, clBlack);
  p.Fill(3, 7, 13, 17, clSilver);
  p.Frame(3, 7, 13, 17, clBlack);
  p.TextLines(5, 9, 2, {6, 5, 0, 7, 4}, clBlack);
  p.HLine(4, 12, 13, clGray);
}

void PopupMenu(P& p) {
  p.Fill(6, 2, 21, 19, clSilver);
  p.Frame(6, 2, 21, 19, clBlack);
  p.TextLines(8, 5, 3, {10, 8}, clBlack);
  p.Fill(7, 10, 20, 12, clNavy);
  p.HLine(8, 16, 11, clWhite);
  p.TextLines(8, 15, 1, {9}, clBlack);
  // The mouse pointer that opened it.
  p.Polygon({{1, 10}, {1, 20}, {3, 18}, {5, 22}, {6, 21}, {5, 17}, {8, 17}}, clWhite);
  p.Line(1, 10, 1, 20, clBlack);
  p.Line(1, 10, 8, 17, clBlack);
  p.Line(8, 17, 5, 17, clBlack);
  p.Line(1, 20, 3, 18, clBlack);
}

void Label(P& p) { p.Large(4, 1, "A", clBlack, 3); }

void EditBitmap(P& p) { Edit(p, 7); }
void MemoBitmap(P& p) { Memo(p); }

void Button(P& p) {
  p.Frame(1, 5, 22, 18, clBlack);
  p.Raised(2, 6, 21, 17);
  p.Small(8, 9, "OK", clBlack);
}

void CheckBoxBitmap(P& p) { CheckBox(p); }

void RadioButton(P& p) {
  RadioDot(p, 1, 6, 11, true);
  p.TextLines(14, 11, 1, {9}, clBlack);
}

void ListBoxBitmap(P& p) { ListBox(p); }
void ComboBox(P& p) { Combo(p, 7); }

void ScrollBar(P& p) {
  // The track is the classic white and grey check.
  for (int x = 7; x <= 16; ++x)
    for (int y = 7; y <= 16; ++y) p.Px(x, y, (x + y) % 2 ? clSilver : clWhite);
  p.Raised(1, 7, 6, 16);
  TriangleLeft(p, 2, 11, 2, clBlack);
  p.Raised(17, 7, 22, 16);
  TriangleRight(p, 19, 11, 2, clBlack);
  p.Raised(10, 7, 14, 16);
}

void GroupBox(P& p) {
  GroupFrame(p);
  p.TextLines(5, 10, 4, {11, 8, 12}, clGray);
}

void RadioGroupBitmap(P& p) { RadioGroup(p); }

void Panel(P& p) {
  p.Raised(1, 3, 22, 20);
  p.Frame(3, 5, 20, 18, clGray);
  p.HLine(4, 20, 18, clWhite);
  p.VLine(20, 5, 18, clWhite);
}

void ActionList(P& p) {
  p.Fill(3, 1, 17, 22, clWhite);
  p.Frame(3, 1, 17, 22, clBlack);
  p.TextLines(5, 4, 3, {10, 8, 11, 7, 9, 10}, clNavy);
  // A lightning bolt: the actions that run from it.
  p.Polygon({{17, 6}, {12, 14}, {16, 14}, {13, 22}, {21, 11}, {17, 11}, {20, 6}}, clYellow);
  p.C->GetBrush()->SetStyle(bsClear);
  p.C->GetPen()->SetColor(clBlack);
  p.C->Polygon({{17, 6}, {12, 14}, {16, 14}, {13, 22}, {21, 11}, {17, 11}, {20, 6}});
}

// --- Additional -----------------------------------------------------------------------------
void BitBtn(P& p) {
  p.Frame(1, 5, 22, 18, clBlack);
  p.Raised(2, 6, 21, 17);
  CheckMark(p, 4, 8, clGreen);
  p.Small(13, 9, "OK", clBlack);
}

void SpeedButton(P& p) {
  p.Raised(3, 3, 20, 20);
  Folder(p, 5, 6);
}

void StringGrid(P& p) {
  Grid(p, clSilver);
  p.Small(6, 9, "ab", clBlack);
  p.Small(16, 9, "1", clBlack);
  p.Small(8, 16, "c", clBlack);
  p.Small(16, 16, "2", clBlack);
}

void DrawGrid(P& p) {
  Grid(p, clSilver);
  p.Fill(7, 9, 11, 12, clRed);
  p.Disc(15, 8, 20, 13, clYellow, clBlack);
  p.Fill(7, 16, 11, 19, clLime);
  p.Fill(15, 16, 20, 19, clBlue);
}

void Image(P& p) { Picture(p, 2, 3, 21, 20); }

void Shape(P& p) {
  p.Disc(1, 1, 13, 13, clRed, clBlack);
  p.Fill(9, 9, 21, 21, clBlue);
  p.Frame(9, 9, 21, 21, clBlack);
  p.Polygon({{2, 22}, {8, 13}, {14, 22}}, clLime);
  p.C->GetBrush()->SetStyle(bsClear);
  p.C->GetPen()->SetColor(clBlack);
  p.C->Polygon({{2, 22}, {8, 13}, {14, 22}});
}

void Bevel(P& p) {
  p.Frame(2, 2, 20, 14, clGray);
  p.Frame(3, 3, 21, 15, clWhite);
  p.HLine(2, 21, 18, clGray);
  p.HLine(2, 21, 19, clWhite);
}

void Splitter(P& p) {
  p.Sunken(1, 2, 9, 21, clWhite);
  p.Sunken(14, 2, 22, 21, clWhite);
  p.Fill(10, 2, 13, 21, clSilver);
  p.VLine(11, 2, 21, clGray);
  TriangleLeft(p, 4, 11, 3, clNavy);
  TriangleRight(p, 16, 11, 3, clNavy);
  p.HLine(6, 17, 11, clNavy);
}

void StaticText(P& p) {
  p.Sunken(1, 5, 22, 18, clSilver);
  p.Large(5, 8, "A", clBlack);
  p.Large(12, 8, "a", clBlack);
}

// --- Win32 ----------------------------------------------------------------------------------
// A tab row over a page: the selected tab stands higher and opens into the page.
void Tabs(P& p) {
  p.Fill(1, 8, 22, 21, clSilver);
  p.HLine(1, 22, 8, clWhite);
  p.VLine(1, 8, 21, clWhite);
  p.HLine(1, 22, 21, clBlack);
  p.VLine(22, 8, 21, clBlack);
  p.HLine(2, 21, 20, clGray);
  p.VLine(21, 9, 20, clGray);
  for (int x : {10, 16}) {
    p.Fill(x, 5, x + 5, 7, clSilver);
    p.HLine(x + 1, x + 4, 5, clWhite);
    p.VLine(x, 6, 7, clWhite);
    p.VLine(x + 5, 6, 7, clBlack);
    p.HLine(x + 2, x + 3, 7, clGray);
  }
  p.Fill(2, 3, 9, 8, clSilver);
  p.HLine(3, 8, 3, clWhite);
  p.VLine(2, 4, 8, clWhite);
  p.VLine(9, 4, 7, clBlack);
  p.HLine(4, 7, 5, clBlack);
}

void TabControl(P& p) {
  Tabs(p);
  p.TextLines(4, 12, 3, {14, 10, 12}, clGray);
}

void PageControl(P& p) {
  Tabs(p);
  p.Sunken(4, 11, 19, 18, clWhite);
  p.TextLines(7, 14, 2, {9, 6}, clBlack);
}

void ImageList(P& p) {
  for (int i = 2; i >= 0; --i) {
    const int x = 1 + i * 4, y = 1 + i * 4;
    p.Fill(x, y, x + 12, y + 12, clWhite);
    p.Frame(x, y, x + 12, y + 12, clBlack);
  }
  Picture(p, 10, 10, 20, 20);
}

void RichEdit(P& p) {
  p.Sunken(2, 1, 21, 22);
  p.Large(5, 4, "A", clRed);
  p.TextLines(11, 6, 3, {7, 6}, clBlue);
  p.HLine(5, 18, 13, clBlack);
  p.HLine(5, 18, 14, clBlack);
  p.TextLines(5, 17, 3, {13, 9}, clGreen);
}

void TrackBar(P& p) {
  p.Sunken(2, 8, 21, 11, clWhite);
  for (int x = 3; x <= 20; x += 4) p.VLine(x, 18, 20, clBlack);
  p.Polygon({{9, 5}, {13, 5}, {13, 13}, {11, 15}, {9, 13}}, clSilver);
  p.Line(9, 5, 13, 5, clWhite);
  p.Line(9, 5, 9, 13, clWhite);
  p.Line(13, 5, 13, 13, clBlack);
  p.Line(13, 13, 11, 15, clBlack);
  p.Line(9, 13, 11, 15, clGray);
}

void ProgressBar(P& p) {
  p.Sunken(1, 7, 22, 16, clSilver);
  for (int x = 3; x <= 13; x += 4) p.Fill(x, 9, x + 2, 14, clNavy);
}

void UpDown(P& p) {
  p.Raised(6, 1, 17, 11);
  p.Polygon({{9, 7}, {11, 4}, {14, 7}}, clBlack);
  p.Raised(6, 12, 17, 22);
  p.Polygon({{9, 15}, {11, 18}, {14, 15}}, clBlack);
}

void DateTimePicker(P& p) {
  Combo(p, 1);
  p.Fill(3, 12, 18, 22, clWhite);
  p.Frame(3, 12, 18, 22, clBlack);
  p.Fill(4, 13, 17, 14, clNavy);
  for (int y = 16; y <= 20; y += 2)
    for (int x = 5; x <= 16; x += 2) p.Px(x, y, clBlack);
  p.Fill(10, 17, 12, 19, clRed);
}

void TreeView(P& p) {
  p.Sunken(1, 1, 22, 22);
  for (int y = 5; y <= 17; y += 2) p.Px(5, y, clGray);
  for (int x = 5; x <= 9; x += 2)
    for (int y : {9, 13, 17}) p.Px(x, y, clGray);
  p.Fill(3, 3, 7, 7, clWhite);
  p.Frame(3, 3, 7, 7, clGray);
  p.HLine(4, 6, 5, clBlack);
  p.HLine(9, 16, 5, clBlack);
  p.Fill(10, 8, 13, 10, clYellow);
  p.HLine(15, 19, 9, clBlack);
  p.Fill(10, 12, 13, 14, clYellow);
  p.HLine(15, 20, 13, clBlack);
  p.Fill(10, 16, 13, 18, clYellow);
  p.HLine(15, 18, 17, clBlack);
}

void ListView(P& p) {
  p.Sunken(1, 1, 22, 22);
  const TColor colors[] = {clRed, clBlue, clGreen, clPurple};
  for (int i = 0; i < 4; ++i) {
    const int x = 5 + (i % 2) * 9, y = 4 + (i / 2) * 9;
    p.Fill(x, y, x + 4, y + 3, colors[i]);
    p.HLine(x - 1, x + 5, y + 6, clBlack);
  }
}

void HeaderControl(P& p) {
  p.Fill(1, 4, 22, 19, clWhite);
  p.Frame(1, 4, 22, 19, clGray);
  p.Raised(1, 4, 9, 10);
  p.Raised(10, 4, 22, 10);
  p.HLine(3, 6, 7, clBlack);
  p.HLine(12, 17, 7, clBlack);
  p.VLine(9, 10, 19, clSilver);
}

void StatusBar(P& p) {
  p.Fill(1, 2, 22, 21, clWhite);
  p.Frame(1, 2, 22, 21, clBlack);
  p.Fill(2, 14, 21, 20, clSilver);
  p.Sunken(3, 15, 11, 19, clSilver);
  p.Sunken(13, 15, 20, 19, clSilver);
  p.HLine(5, 9, 17, clBlack);
  for (int i = 0; i < 3; ++i) p.Line(21 - i * 2, 19, 19, 19 - i * 2 + 2, clGray);
}

void ToolBar(P& p) {
  p.Fill(1, 5, 22, 18, clSilver);
  p.HLine(1, 22, 5, clWhite);
  p.HLine(1, 22, 18, clGray);
  p.Raised(2, 7, 8, 16);
  p.Fill(4, 9, 6, 14, clWhite);
  p.Frame(4, 9, 6, 14, clBlack);
  p.Fill(10, 9, 13, 14, clYellow);
  p.Frame(10, 9, 13, 14, clBlack);
  p.Fill(16, 9, 20, 14, clNavy);
  p.Fill(17, 9, 19, 11, clWhite);
}

// --- System ---------------------------------------------------------------------------------
void Timer(P& p) {
  p.Fill(10, 1, 13, 2, clBlack);
  p.Disc(2, 3, 21, 22, clWhite, clBlack);
  p.Disc(3, 4, 20, 21, clWhite, clBlack);
  for (int i = 0; i < 4; ++i) {
    static const int dx[] = {0, 7, 0, -7}, dy[] = {-7, 0, 7, 0};
    p.Px(11 + dx[i], 12 + dy[i], clBlack);
  }
  p.Line(11, 12, 11, 7, clBlack);
  p.Line(11, 12, 15, 14, clRed);
}

void PaintBox(P& p) {
  p.Fill(1, 3, 22, 20, clWhite);
  for (int x = 1; x <= 22; x += 2) p.Px(x, 3, clBlack), p.Px(x, 20, clBlack);
  for (int y = 3; y <= 20; y += 2) p.Px(1, y, clBlack), p.Px(22, y, clBlack);
  p.Line(4, 16, 9, 8, clRed);
  p.Line(9, 8, 13, 14, clRed);
  p.Disc(12, 6, 19, 13, clBlue, clBlue);
  // A brush crossing the box.
  p.Line(6, 22, 13, 15, clMaroon);
  p.Line(7, 22, 14, 15, clMaroon);
  p.Fill(14, 13, 16, 15, clGray);
  p.Fill(16, 11, 18, 13, clBlack);
}

// --- Data Access ----------------------------------------------------------------------------
void DataSource(P& p) {
  Cylinder(p, 1, 3, 10, 17, clYellow);
  p.HLine(11, 15, 10, clBlack);
  TriangleRight(p, 15, 10, 2, clBlack);
  p.Fill(18, 4, 22, 16, clWhite);
  p.Frame(18, 4, 22, 16, clBlack);
  for (int y = 7; y <= 13; y += 3) p.HLine(18, 22, y, clBlack);
}

void Table(P& p) {
  p.Fill(1, 3, 22, 20, clWhite);
  p.Fill(1, 3, 22, 7, clNavy);
  for (int y = 7; y <= 20; y += 4) p.HLine(1, 22, y, clBlack);
  for (int x : {1, 8, 15, 22}) p.VLine(x, 3, 20, clBlack);
  p.HLine(1, 22, 3, clBlack);
  p.HLine(1, 22, 20, clBlack);
}

void Query(P& p) {
  Table(p);
  p.Fill(9, 9, 23, 23, clOlive);
  p.Fill(10, 10, 22, 22, clYellow);
  p.Frame(10, 10, 22, 22, clBlack);
  p.Large(14, 13, "?", clRed);
}

void Database(P& p) { Cylinder(p, 4, 1, 19, 22, clYellow); }

// --- ADO, sessions, Samples and XPMan (one block) --------------------------------------------
// The ADO badge: a small globe-blue database in the bottom-right corner.
void ADOBadge(P& p) {
  p.Fill(13, 12, 23, 23, clOlive);
  Cylinder(p, 14, 13, 22, 22, clAqua);
}

void ADOConnection(P& p) {
  Cylinder(p, 1, 2, 11, 18, clAqua);
  p.HLine(12, 21, 10, clBlack);
  p.Fill(17, 7, 22, 13, clYellow);
  p.Frame(17, 7, 22, 13, clBlack);
  p.HLine(19, 20, 10, clBlack);
}

void ADOCommand(P& p) {
  p.Fill(1, 2, 15, 14, clWhite);
  p.Frame(1, 2, 15, 14, clBlack);
  p.Small(3, 4, "SQL", clNavy);
  TriangleRight(p, 6, 11, 2, clRed);
  ADOBadge(p);
}

void ADODataSet(P& p) {
  Grid(p, clSilver);
  ADOBadge(p);
}

void ADOTable(P& p) {
  Table(p);
  ADOBadge(p);
}

void ADOQuery(P& p) {
  Query(p);
  p.Fill(0, 14, 9, 23, clOlive);
  Cylinder(p, 1, 15, 8, 22, clAqua);
}

void ADOStoredProc(P& p) {
  p.Fill(1, 2, 15, 16, clYellow);
  p.Frame(1, 2, 15, 16, clBlack);
  // A cog: the procedure that runs on the server.
  p.Disc(3, 4, 13, 14, clGray, clBlack);
  p.Disc(6, 7, 10, 11, clYellow, clBlack);
  ADOBadge(p);
}

void Session(P& p) {
  Cylinder(p, 1, 8, 9, 21, clYellow);
  Cylinder(p, 13, 8, 21, 21, clYellow);
  p.Frame(0, 2, 23, 22, clNavy);
  p.Fill(1, 3, 22, 5, clNavy);
}

void Gauge(P& p) {
  p.Fill(1, 7, 22, 16, clWhite);
  p.Fill(1, 7, 12, 16, clNavy);
  p.Frame(1, 7, 22, 16, clBlack);
  // A "%" across the bar's end, inverted as the gauge draws its text: white on the bar.
  auto px = [&](int x, int y) { p.Px(x, y, x <= 12 ? clWhite : clBlack); };
  for (int i = 0; i < 6; ++i) px(14 - i, 9 + i);
  for (int x : {9, 10})
    for (int y : {9, 10}) px(x, y), px(x + 4, y + 4);
}

void XPManifest(P& p) {
  p.Fill(3, 2, 20, 21, clWhite);
  p.Frame(3, 2, 20, 21, clBlack);
  p.Fill(5, 4, 11, 10, clRed);
  p.Fill(12, 4, 18, 10, clLime);
  p.Fill(5, 11, 11, 17, clBlue);
  p.Fill(12, 11, 18, 17, clYellow);
  p.HLine(5, 18, 19, clGray);
}

// --- Data Controls --------------------------------------------------------------------------
void DBGrid(P& p) {
  StringGrid(p);
  DataBadge(p);
}

void DBNavigator(P& p) {
  p.Fill(0, 6, 23, 17, clSilver);
  for (int x = 0; x < 24; x += 6) p.Raised(x, 6, x + 5, 17);
  p.VLine(2, 9, 14, clBlack);
  TriangleLeft(p, 3, 11, 2, clBlack);
  TriangleLeft(p, 8, 11, 2, clBlack);
  TriangleRight(p, 14, 11, 2, clBlack);
  TriangleRight(p, 19, 11, 2, clBlack);
  p.VLine(21, 9, 14, clBlack);
}

void DBText(P& p) {
  p.Large(1, 1, "A", clBlack, 3);
  DataBadge(p);
}

void DBEdit(P& p) {
  Edit(p, 2);
  DataBadge(p);
}

void DBMemo(P& p) {
  Memo(p);
  DataBadge(p);
}

void DBImage(P& p) {
  Picture(p, 2, 2, 20, 19);
  DataBadge(p);
}

void DBListBox(P& p) {
  ListBox(p);
  DataBadge(p);
}

void DBComboBox(P& p) {
  Combo(p, 2);
  DataBadge(p);
}

void DBCheckBox(P& p) {
  CheckBox(p);
  DataBadge(p);
}

void DBRadioGroup(P& p) {
  RadioGroup(p);
  DataBadge(p);
}

void DBLookupComboBox(P& p) {
  Combo(p, 1);
  // The open list of looked-up values.
  p.Fill(1, 11, 16, 22, clWhite);
  p.Frame(1, 11, 16, 22, clBlack);
  p.Fill(2, 15, 15, 17, clNavy);
  p.TextLines(3, 13, 3, {9, 10, 7}, clBlack);
  p.HLine(3, 11, 16, clWhite);
  DataBadge(p);
}

// --- Dialogs --------------------------------------------------------------------------------
void OpenDialog(P& p) {
  Dialog(p);
  Folder(p, 4, 8);
}

void SaveDialog(P& p) {
  Dialog(p);
  Disk(p, 6, 8);
}

void OpenPictureDialog(P& p) {
  Dialog(p);
  Folder(p, 3, 7);
  SmallPicture(p, 12, 13);
}

void SavePictureDialog(P& p) {
  Dialog(p);
  Disk(p, 3, 8);
  SmallPicture(p, 12, 13);
}

void FontDialog(P& p) {
  Dialog(p);
  p.Large(4, 8, "A", clNavy, 2);
  p.Large(14, 12, "a", clRed);
}

void ColorDialog(P& p) {
  Dialog(p);
  const TColor colors[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
  for (int i = 0; i < 6; ++i) {
    const int x = 4 + (i % 3) * 6, y = 8 + (i / 3) * 6;
    p.Fill(x, y, x + 4, y + 4, colors[i]);
    p.Frame(x, y, x + 4, y + 4, clBlack);
  }
}

void PrintDialog(P& p) {
  Dialog(p);
  p.Fill(8, 7, 16, 12, clWhite);
  p.Frame(8, 7, 16, 12, clBlack);
  p.Fill(4, 12, 20, 18, clGray);
  p.Frame(4, 12, 20, 18, clBlack);
  p.HLine(5, 19, 13, clWhite);
  p.Px(17, 15, clLime);
  p.Fill(7, 16, 17, 19, clWhite);
  p.Frame(7, 16, 17, 19, clBlack);
}

// The printer of the print dialog with a spanner across it.
void PrinterSetupDialog(P& p) {
  PrintDialog(p);
  p.Line(12, 4, 20, 12, clNavy);
  p.Line(13, 4, 21, 12, clNavy);
  p.Frame(11, 3, 14, 6, clNavy);
}

void FindDialog(P& p) {
  Dialog(p);
  Magnifier(p, 6, 8);
}

void ReplaceDialog(P& p) {
  Dialog(p);
  Magnifier(p, 3, 8);
  p.HLine(14, 18, 11, clRed);
  TriangleRight(p, 18, 11, 2, clRed);
  p.Small(14, 14, "ab", clBlack);
}

// --- The palette's own buttons -------------------------------------------------------------
void Unknown(P& p) {
  // A component of no known class: a box with a question mark.
  p.Polygon({{3, 7}, {9, 2}, {21, 2}, {15, 7}}, clSilver);
  p.Polygon({{15, 7}, {21, 2}, {21, 16}, {15, 21}}, clGray);
  p.Fill(3, 7, 15, 21, clWhite);
  p.Frame(3, 7, 15, 21, clBlack);
  p.Line(3, 7, 9, 2, clBlack);
  p.Line(9, 2, 21, 2, clBlack);
  p.Line(21, 2, 21, 16, clBlack);
  p.Line(21, 16, 15, 21, clBlack);
  p.Line(15, 7, 21, 2, clBlack);
  p.Large(6, 10, "?", clRed);
}

void Pointer(P& p) {
  p.Polygon({{7, 3}, {7, 18}, {10, 15}, {13, 21}, {15, 20}, {12, 14}, {17, 14}}, clWhite);
  p.Line(7, 3, 7, 18, clBlack);
  p.Line(7, 18, 10, 15, clBlack);
  p.Line(10, 15, 13, 21, clBlack);
  p.Line(13, 21, 15, 20, clBlack);
  p.Line(15, 20, 12, 14, clBlack);
  p.Line(12, 14, 17, 14, clBlack);
  p.Line(17, 14, 7, 3, clBlack);
}

// --- Win 3.1 ---------------------------------------------------------------------------------
void SmallFolder(P& p, int x, int y, bool open) {
  p.Fill(x, y, x + 3, y, clBlack);
  p.Fill(x, y + 1, x + 7, y + 5, clYellow);
  p.Frame(x, y + 1, x + 7, y + 5, clBlack);
  if (open) p.Polygon({{x + 2, y + 3}, {x + 9, y + 3}, {x + 7, y + 5}, {x, y + 5}}, clOlive);
}

void DirectoryListBox(P& p) {
  p.Sunken(1, 1, 22, 22);
  SmallFolder(p, 3, 3, true);
  p.HLine(13, 19, 5, clBlack);
  SmallFolder(p, 5, 9, true);
  p.Fill(15, 10, 20, 13, clNavy);
  SmallFolder(p, 8, 15, false);
  p.HLine(17, 20, 18, clBlack);
}

void FileListBox(P& p) {
  p.Sunken(1, 1, 22, 22);
  for (int i = 0; i < 3; ++i) {
    int y = 4 + i * 6;
    p.Fill(4, y, 8, y + 4, clWhite);
    p.Frame(4, y, 8, y + 4, clBlack);
    if (i == 1) p.Fill(10, y, 20, y + 4, clNavy);
    p.HLine(11, 18, y + 2, i == 1 ? clWhite : clBlack);
  }
}

void DriveComboBox(P& p) {
  p.Sunken(1, 7, 22, 16);
  p.Fill(3, 10, 10, 13, clSilver);
  p.Frame(3, 10, 10, 13, clBlack);
  p.Px(8, 12, clLime);
  ComboButton(p, 7);
}

void FilterComboBox(P& p) {
  p.Sunken(1, 7, 22, 16);
  // "*.*"
  for (int x : {4, 10}) {
    p.VLine(x, 10, 13, clBlack);
    p.Line(x - 1, 10, x + 2, 13, clBlack);
    p.Line(x + 2, 10, x - 1, 13, clBlack);
  }
  p.Px(7, 13, clBlack);
  ComboButton(p, 7);
  // A funnel above the field.
  p.Polygon({{6, 1}, {16, 1}, {12, 4}, {12, 6}, {10, 6}, {10, 4}}, clNavy);
}

void Win31Header(P& p) {
  p.Fill(1, 7, 22, 16, clSilver);
  p.Frame(1, 7, 22, 16, clBlack);
  p.VLine(9, 7, 16, clBlack);
  p.VLine(16, 7, 16, clBlack);
  p.HLine(3, 7, 11, clBlack);
  p.HLine(11, 14, 11, clBlack);
  p.HLine(18, 20, 11, clBlack);
  // The drag that sizes a section.
  p.Line(8, 19, 10, 21, clBlack);
  p.Line(8, 19, 10, 17, clBlack);
  p.HLine(8, 13, 19, clBlack);
}

// --- Samples --------------------------------------------------------------------------------
void ColorGrid(P& p) {
  static const TColor colors[16] = {clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
                                    clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
  for (int i = 0; i < 16; ++i) {
    int x = 2 + (i % 4) * 5, y = 2 + (i / 4) * 5;
    p.Fill(x, y, x + 4, y + 4, colors[i]);
  }
  p.Frame(1, 1, 22, 22, clBlack);
}

void SpinButton(P& p) {
  p.Raised(7, 2, 16, 11);
  p.Polygon({{9, 8}, {11, 5}, {14, 8}}, clBlack);
  p.Raised(7, 12, 16, 21);
  p.Polygon({{9, 15}, {11, 18}, {14, 15}}, clBlack);
}

// --- System (continued) and Win32 (continued) -------------------------------------------------
void MediaPlayer(P& p) {
  p.Raised(0, 7, 7, 16);
  TriangleRight(p, 2, 11, 3, clGreen);
  p.Raised(8, 7, 15, 16);
  p.Fill(10, 9, 11, 14, clOlive);
  p.Fill(13, 9, 14, 14, clOlive);
  p.Raised(16, 7, 23, 16);
  p.Fill(18, 9, 21, 13, clMaroon);
}

void CoolBar(P& p) {
  p.Fill(1, 3, 22, 20, clSilver);
  p.Frame(1, 3, 22, 20, clGray);
  p.HLine(2, 21, 11, clGray);
  p.HLine(2, 21, 12, clWhite);
  for (int y : {5, 14}) {
    p.VLine(3, y, y + 4, clWhite);
    p.VLine(4, y, y + 4, clGray);
  }
  p.Fill(7, 5, 10, 9, clNavy);
  p.Fill(12, 5, 15, 9, clYellow);
  p.Frame(12, 5, 15, 9, clBlack);
  p.Sunken(7, 14, 20, 18);
}

void LeftScroll(P& p) { TriangleLeft(p, 8, 11, 5, clBlack); }
void RightScroll(P& p) { TriangleRight(p, 10, 11, 5, clBlack); }
}  // namespace

const std::vector<TPaletteDrawing>& PaletteDrawings() {
  static const std::vector<TPaletteDrawing> drawings{
      {"TMAINMENU", MainMenu},
      {"TPOPUPMENU", PopupMenu},
      {"TLABEL", Label},
      {"TEDIT", EditBitmap},
      {"TMEMO", MemoBitmap},
      {"TBUTTON", Button},
      {"TCHECKBOX", CheckBoxBitmap},
      {"TRADIOBUTTON", RadioButton},
      {"TLISTBOX", ListBoxBitmap},
      {"TCOMBOBOX", ComboBox},
      {"TSCROLLBAR", ScrollBar},
      {"TGROUPBOX", GroupBox},
      {"TRADIOGROUP", RadioGroupBitmap},
      {"TPANEL", Panel},
      {"TACTIONLIST", ActionList},
      {"TBITBTN", BitBtn},
      {"TSPEEDBUTTON", SpeedButton},
      {"TSTRINGGRID", StringGrid},
      {"TDRAWGRID", DrawGrid},
      {"TIMAGE", Image},
      {"TSHAPE", Shape},
      {"TBEVEL", Bevel},
      {"TSPLITTER", Splitter},
      {"TSTATICTEXT", StaticText},
      {"TTABCONTROL", TabControl},
      {"TPAGECONTROL", PageControl},
      {"TIMAGELIST", ImageList},
      {"TRICHEDIT", RichEdit},
      {"TTRACKBAR", TrackBar},
      {"TPROGRESSBAR", ProgressBar},
      {"TUPDOWN", UpDown},
      {"TDATETIMEPICKER", DateTimePicker},
      {"TTREEVIEW", TreeView},
      {"TLISTVIEW", ListView},
      {"THEADERCONTROL", HeaderControl},
      {"TSTATUSBAR", StatusBar},
      {"TTOOLBAR", ToolBar},
      {"TCOOLBAR", CoolBar},
      {"TTIMER", Timer},
      {"TPAINTBOX", PaintBox},
      {"TMEDIAPLAYER", MediaPlayer},
      {"TDIRECTORYLISTBOX", DirectoryListBox},
      {"TFILELISTBOX", FileListBox},
      {"TDRIVECOMBOBOX", DriveComboBox},
      {"TFILTERCOMBOBOX", FilterComboBox},
      {"THEADER", Win31Header},
      {"TCOLORGRID", ColorGrid},
      {"TSPINBUTTON", SpinButton},
      {"TDATASOURCE", DataSource},
      {"TTABLE", Table},
      {"TQUERY", Query},
      {"TDATABASE", Database},
      {"TADOCONNECTION", ADOConnection},
      {"TADOCOMMAND", ADOCommand},
      {"TADODATASET", ADODataSet},
      {"TADOTABLE", ADOTable},
      {"TADOQUERY", ADOQuery},
      {"TADOSTOREDPROC", ADOStoredProc},
      {"TSESSION", Session},
      {"TGAUGE", Gauge},
      {"TXPMANIFEST", XPManifest},
      {"TDBGRID", DBGrid},
      {"TDBNAVIGATOR", DBNavigator},
      {"TDBTEXT", DBText},
      {"TDBEDIT", DBEdit},
      {"TDBMEMO", DBMemo},
      {"TDBIMAGE", DBImage},
      {"TDBLISTBOX", DBListBox},
      {"TDBCOMBOBOX", DBComboBox},
      {"TDBCHECKBOX", DBCheckBox},
      {"TDBRADIOGROUP", DBRadioGroup},
      {"TDBLOOKUPCOMBOBOX", DBLookupComboBox},
      {"TOPENDIALOG", OpenDialog},
      {"TSAVEDIALOG", SaveDialog},
      {"TOPENPICTUREDIALOG", OpenPictureDialog},
      {"TSAVEPICTUREDIALOG", SavePictureDialog},
      {"TFONTDIALOG", FontDialog},
      {"TCOLORDIALOG", ColorDialog},
      {"TPRINTDIALOG", PrintDialog},
      {"TPRINTERSETUPDIALOG", PrinterSetupDialog},
      {"TFINDDIALOG", FindDialog},
      {"TREPLACEDIALOG", ReplaceDialog},
      {"KVUNKNOWN", Unknown},
      {"KVPOINTER", Pointer},
      {"KVLEFTSCROLL", LeftScroll},
      {"KVRIGHTSCROLL", RightScroll},
  };
  return drawings;
}

std::unique_ptr<TBitmap> RenderPaletteDrawing(const TPaletteDrawing& drawing) {
  constexpr int size = 24;
  constexpr TColor transparent = clOlive;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(size, size);
  TPixelPainter p(bitmap->Canvas());
  p.Fill(0, 0, size - 1, size - 1, transparent);
  drawing.Draw(p);
  if (p.C->GetPixel(0, size - 1) != transparent)
    throw Exception("the drawing of " + drawing.Name + " covers the transparent bottom-left pixel");
  bitmap->SetPixelFormat(pf4bit);
  return bitmap;
}

void AddStandardPaletteBitmaps() {
  for (const TPaletteDrawing& d : PaletteDrawings())
    if (ComponentBitmaps->IndexOf(d.Name) < 0) ComponentBitmaps->AddObject(d.Name, RenderPaletteDrawing(d).release());
}
