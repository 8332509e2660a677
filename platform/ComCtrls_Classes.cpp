// The published properties of the common controls, in the VCL's order, and their registration.
#include "ComCtrls.h"
#include "Grids.h"

namespace {
template <class C>
void PublishCommon(TClassBuilder<C>& b) {
  PublishControlProperties(b, {"Align", "Anchors", "Constraints", "DragCursor", "DragMode", "Enabled", "Font",
                               "ParentFont", "ParentShowHint", "ShowHint", "Visible", "OnDragDrop", "OnDragOver",
                               "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}
template <class C>
void PublishWin(TClassBuilder<C>& b) {
  PublishCommon(b);
  PublishControlProperties(b, {"TabOrder", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
}
template <class C>
void PublishTabs(TClassBuilder<C>& b) {
  PublishWin(b);
  PublishTabStop(b, true);
  b.Prop("HotTrack", &TCustomTabControl::GetHotTrack, &TCustomTabControl::SetHotTrack).Default(false);
  b.Prop("Images", &TCustomTabControl::GetImages, &TCustomTabControl::SetImages);
  b.Prop("MultiLine", &TCustomTabControl::GetMultiLine, &TCustomTabControl::SetMultiLine).Default(false);
  b.Prop("OwnerDraw", &TCustomTabControl::GetOwnerDraw, &TCustomTabControl::SetOwnerDraw).Default(false);
  b.Prop("Style", &TCustomTabControl::GetStyle, &TCustomTabControl::SetStyle).Default(tsTabs);
  b.Prop("TabHeight", &TCustomTabControl::GetTabHeight, &TCustomTabControl::SetTabHeight).Default(0);
  b.Prop("TabPosition", &TCustomTabControl::GetTabPosition, &TCustomTabControl::SetTabPosition).Default(tpTop);
  b.Prop("TabWidth", &TCustomTabControl::GetTabWidth, &TCustomTabControl::SetTabWidth).Default(0);
  b.Prop("OnChange", &TCustomTabControl::OnChange);
  b.Prop("OnChanging", &TCustomTabControl::OnChanging);
  b.Prop("OnDrawTab", &TCustomTabControl::OnDrawTab);
}
}  // namespace

KV_IMPLEMENT_CLASS(TCustomTabControl, "ComCtrls") {}

KV_IMPLEMENT_CLASS(TTabControl, "ComCtrls") {
  PublishTabs(b);
  b.Prop("Tabs", &TCustomTabControl::GetTabs, &TCustomTabControl::SetTabs);
  b.Prop("TabIndex", &TCustomTabControl::GetTabIndex, &TCustomTabControl::SetTabIndex).Default(-1);
}

KV_IMPLEMENT_CLASS(TPageControl, "ComCtrls") {
  b.Prop("ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
  PublishTabs(b);
  // Later versions write it; ActivePage, fixed up after reading, decides which page shows.
  b.Prop("TabIndex", &TCustomTabControl::GetTabIndex, &TCustomTabControl::SetTabIndex).Stored(false);
}

KV_IMPLEMENT_CLASS(TTabSheet, "ComCtrls") {
  PublishControlProperties(
      b, {"Caption", "DragMode", "Enabled", "Font", "ParentFont", "ParentShowHint", "ShowHint", "OnDragDrop",
          "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
  // The page control places its pages.
  b.Prop("Left", &TControl::GetLeft, &TControl::SetLeft).Stored(false);
  b.Prop("Top", &TControl::GetTop, &TControl::SetTop).Stored(false);
  b.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Stored(false);
  b.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Stored(false);
  b.Prop("Visible", &TControl::GetVisible, &TControl::SetVisible).Stored(false);
  b.Prop("ImageIndex", &TTabSheet::GetImageIndex, &TTabSheet::SetImageIndex).Default(-1);
  b.Prop("PageIndex", &TTabSheet::GetPageIndex, &TTabSheet::SetPageIndex).Stored(false);
  b.Prop("TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible).Default(true);
  b.Prop("OnHide", &TTabSheet::OnHide);
  b.Prop("OnShow", &TTabSheet::OnShow);
}

KV_IMPLEMENT_CLASS(THeaderSection, "ComCtrls") {
  b.Prop("Alignment", &THeaderSection::GetAlignment, &THeaderSection::SetAlignment).Default(taLeftJustify);
  b.Prop("AllowClick", &THeaderSection::GetAllowClick, &THeaderSection::SetAllowClick).Default(true);
  b.Prop("MaxWidth", &THeaderSection::GetMaxWidth, &THeaderSection::SetMaxWidth).Default(10000);
  b.Prop("MinWidth", &THeaderSection::GetMinWidth, &THeaderSection::SetMinWidth).Default(0);
  b.Prop("Style", &THeaderSection::GetStyle, &THeaderSection::SetStyle).Default(hsText);
  b.Prop("Text", &THeaderSection::GetText, &THeaderSection::SetText);
  b.Prop("Width", &THeaderSection::GetWidth, &THeaderSection::SetWidth);
}

KV_IMPLEMENT_CLASS(TStatusPanel, "ComCtrls") {
  b.Prop("Alignment", &TStatusPanel::GetAlignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
  b.Prop("Bevel", &TStatusPanel::GetBevel, &TStatusPanel::SetBevel).Default(pbLowered);
  b.Prop("Style", &TStatusPanel::GetStyle, &TStatusPanel::SetStyle).Default(psText);
  b.Prop("Text", &TStatusPanel::GetText, &TStatusPanel::SetText);
  b.Prop("Width", &TStatusPanel::GetWidth, &TStatusPanel::SetWidth);
}

KV_IMPLEMENT_CLASS(TControlCollection, "ComCtrls") {}

KV_IMPLEMENT_CLASS(THeaderControl, "ComCtrls") {
  PublishCommon(b);
  b.Prop("HotTrack", &THeaderControl::GetHotTrack, &THeaderControl::SetHotTrack).Default(false);
  b.Prop("Sections", &THeaderControl::GetSections, &THeaderControl::SetSections);
  PublishControlProperties(b, {"OnResize"});
}

KV_IMPLEMENT_CLASS(TStatusBar, "ComCtrls") {
  PublishCommon(b);
  b.Prop("AutoHint", &TStatusBar::GetAutoHint, &TStatusBar::SetAutoHint).Default(false);
  PublishControlProperties(b, {"Color", "ParentColor"});
  b.Prop("Panels", &TStatusBar::GetPanels, &TStatusBar::SetPanels);
  b.Prop("SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel).Default(false);
  b.Prop("SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText);
  b.Prop("SizeGrip", &TStatusBar::GetSizeGrip, &TStatusBar::SetSizeGrip).Default(true);
  PublishControlProperties(b, {"OnClick", "OnDblClick", "OnResize"});
}

KV_IMPLEMENT_CLASS(TProgressBar, "ComCtrls") {
  PublishWin(b);
  PublishTabStop(b, false);
  b.Prop("Min", &TProgressBar::GetMin, &TProgressBar::SetMin).Default(0);
  b.Prop("Max", &TProgressBar::GetMax, &TProgressBar::SetMax).Default(100);
  b.Prop("Orientation", &TProgressBar::GetOrientation, &TProgressBar::SetOrientation).Default(pbHorizontal);
  b.Prop("Position", &TProgressBar::GetPosition, &TProgressBar::SetPosition).Default(0);
  b.Prop("Smooth", &TProgressBar::GetSmooth, &TProgressBar::SetSmooth).Default(false);
  b.Prop("Step", &TProgressBar::GetStep, &TProgressBar::SetStep).Default(10);
}

KV_IMPLEMENT_CLASS(TTrackBar, "ComCtrls") {
  PublishWin(b);
  PublishTabStop(b, true);
  b.Prop("Frequency", &TTrackBar::GetFrequency, &TTrackBar::SetFrequency).Default(1);
  b.Prop("LineSize", &TTrackBar::GetLineSize, &TTrackBar::SetLineSize).Default(1);
  b.Prop("Max", &TTrackBar::GetMax, &TTrackBar::SetMax).Default(10);
  b.Prop("Min", &TTrackBar::GetMin, &TTrackBar::SetMin).Default(0);
  b.Prop("Orientation", &TTrackBar::GetOrientation, &TTrackBar::SetOrientation).Default(trHorizontal);
  b.Prop("PageSize", &TTrackBar::GetPageSize, &TTrackBar::SetPageSize).Default(2);
  b.Prop("Position", &TTrackBar::GetPosition, &TTrackBar::SetPosition).Default(0);
  b.Prop("SelEnd", &TTrackBar::GetSelEnd, &TTrackBar::SetSelEnd).Default(0);
  b.Prop("SelStart", &TTrackBar::GetSelStart, &TTrackBar::SetSelStart).Default(0);
  b.Prop("ThumbLength", &TTrackBar::GetThumbLength, &TTrackBar::SetThumbLength).Default(20);
  b.Prop("TickMarks", &TTrackBar::GetTickMarks, &TTrackBar::SetTickMarks).Default(tmBottomRight);
  b.Prop("TickStyle", &TTrackBar::GetTickStyle, &TTrackBar::SetTickStyle).Default(tsAuto);
  b.Prop("OnChange", &TTrackBar::OnChange);
}

KV_IMPLEMENT_CLASS(TUpDown, "ComCtrls") {
  PublishCommon(b);
  b.Prop("AlignButton", &TUpDown::GetAlignButton, &TUpDown::SetAlignButton).Default(udRight);
  b.Prop("Associate", &TUpDown::GetAssociate, &TUpDown::SetAssociate);
  b.Prop("ArrowKeys", &TUpDown::GetArrowKeys, &TUpDown::SetArrowKeys).Default(true);
  b.Prop("Increment", &TUpDown::GetIncrement, &TUpDown::SetIncrement).Default(1);
  b.Prop("Min", &TUpDown::GetMin, &TUpDown::SetMin).Default(0);
  b.Prop("Max", &TUpDown::GetMax, &TUpDown::SetMax).Default(100);
  b.Prop("Orientation", &TUpDown::GetOrientation, &TUpDown::SetOrientation).Default(udVertical);
  b.Prop("Position", &TUpDown::GetPosition, &TUpDown::SetPosition).Default(0);
  PublishControlProperties(b, {"TabOrder"});
  b.Prop("Thousands", &TUpDown::GetThousands, &TUpDown::SetThousands).Default(true);
  b.Prop("Wrap", &TUpDown::GetWrap, &TUpDown::SetWrap).Default(false);
  b.Prop("OnChanging", &TUpDown::OnChanging);
  b.Prop("OnClick", &TUpDown::OnClick);
}

KV_IMPLEMENT_CLASS(TImageList, "Controls") {
  b.Prop("AllocBy", &TImageList::GetAllocBy, &TImageList::SetAllocBy).Default(4);
  b.Prop("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Type(TypeInfoTColor()).Default(clNone);
  b.Prop("BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor).Type(TypeInfoTColor()).Default(clNone);
  b.Prop("DrawingStyle", &TImageList::GetDrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  b.Prop("Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
  b.Prop("ImageType", &TImageList::GetImageType, &TImageList::SetImageType).Default(itImage);
  b.Prop("Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
  b.Prop("ShareImages", &TImageList::GetShareImages, &TImageList::SetShareImages).Default(false);
  b.Prop("Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
  b.Prop("OnChange", &TImageList::OnChange);
}

KV_IMPLEMENT_CLASS(TListItem, "ComCtrls") {}
KV_IMPLEMENT_CLASS(TListItems, "ComCtrls") {}
KV_IMPLEMENT_CLASS(TTreeNode, "ComCtrls") {}
KV_IMPLEMENT_CLASS(TTreeNodes, "ComCtrls") {}

KV_IMPLEMENT_CLASS(TListColumn, "ComCtrls") {
  b.Prop("Alignment", &TListColumn::GetAlignment, &TListColumn::SetAlignment).Default(taLeftJustify);
  b.Prop("AutoSize", &TListColumn::GetAutoSize, &TListColumn::SetAutoSize).Default(false);
  b.Prop("Caption", &TListColumn::GetCaption, &TListColumn::SetCaption);
  b.Prop("ImageIndex", &TListColumn::GetImageIndex, &TListColumn::SetImageIndex).Default(-1);
  b.Prop("MaxWidth", &TListColumn::GetMaxWidth, &TListColumn::SetMaxWidth).Default(0);
  b.Prop("MinWidth", &TListColumn::GetMinWidth, &TListColumn::SetMinWidth).Default(0);
  b.Prop("Tag", &TListColumn::GetTag, &TListColumn::SetTag).Default(0);
  b.Prop("Width", &TListColumn::GetWidth, &TListColumn::SetWidth).Default(50);
}

KV_IMPLEMENT_CLASS(TIconOptions, "ComCtrls") {
  b.Prop("Arrangement", &TIconOptions::GetArrangement, &TIconOptions::SetArrangement).Default(iaTop);
  b.Prop("AutoArrange", &TIconOptions::GetAutoArrange, &TIconOptions::SetAutoArrange).Default(false);
  b.Prop("WrapText", &TIconOptions::GetWrapText, &TIconOptions::SetWrapText).Default(true);
}

KV_IMPLEMENT_CLASS(TCustomViewControl, "ComCtrls") {}

namespace {
template <class C>
void PublishViewBorder(TClassBuilder<C>& b) {
  b.Prop("BorderStyle", &TCustomViewControl::GetBorderStyle, &TCustomViewControl::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
}
}  // namespace

KV_IMPLEMENT_CLASS(TListView, "ComCtrls") {
  PublishControlProperties(b, {"Align", "Anchors", "BiDiMode"});
  PublishViewBorder(b);
  b.Prop("Checkboxes", &TListView::GetCheckboxes, &TListView::SetCheckboxes).Default(false);
  PublishControlProperties(b, {"Color"});
  b.Prop("Columns", &TListView::GetColumns, &TListView::SetColumns);
  b.Prop("ColumnClick", &TListView::GetColumnClick, &TListView::SetColumnClick).Default(true);
  PublishControlProperties(b, {"Constraints", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font"});
  b.Prop("FlatScrollBars", &TCustomViewControl::GetFlatScrollBars, &TCustomViewControl::SetFlatScrollBars)
      .Default(false);
  b.Prop("GridLines", &TListView::GetGridLines, &TListView::SetGridLines).Default(false);
  b.Prop("HideSelection", &TCustomViewControl::GetHideSelection, &TCustomViewControl::SetHideSelection).Default(true);
  b.Prop("HotTrack", &TCustomViewControl::GetHotTrack, &TCustomViewControl::SetHotTrack).Default(false);
  b.Prop("HotTrackStyles", &TListView::GetHotTrackStyles, &TListView::SetHotTrackStyles).Default(THotTrackStyles{});
  b.Prop("IconOptions", &TListView::GetIconOptions, &TListView::SetIconOptions);
  b.Prop("Items", &TListView::GetItems, &TListView::SetItems);
  b.Prop("LargeImages", &TListView::GetLargeImages, &TListView::SetLargeImages);
  b.Prop("MultiSelect", &TListView::GetMultiSelect, &TListView::SetMultiSelect).Default(false);
  b.Prop("ReadOnly", &TCustomViewControl::GetReadOnly, &TCustomViewControl::SetReadOnly).Default(false);
  b.Prop("RowSelect", &TCustomViewControl::GetRowSelect, &TCustomViewControl::SetRowSelect).Default(false);
  PublishControlProperties(b, {"ParentBiDiMode"});
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProperties(b, {"ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ShowColumnHeaders", &TListView::GetShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(true);
  PublishControlProperties(b, {"ShowHint"});
  b.Prop("SmallImages", &TListView::GetSmallImages, &TListView::SetSmallImages);
  b.Prop("SortType", &TListView::GetSortType, &TListView::SetSortType).Default(stNone);
  b.Prop("StateImages", &TCustomViewControl::GetStateImages, &TCustomViewControl::SetStateImages);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  b.Prop("ViewStyle", &TListView::GetViewStyle, &TListView::SetViewStyle).Default(vsIcon);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TListView::OnChange);
  b.Prop("OnChanging", &TListView::OnChanging);
  PublishControlProperties(b, {"OnClick"});
  b.Prop("OnColumnClick", &TListView::OnColumnClick);
  b.Prop("OnCompare", &TListView::OnCompare);
  PublishControlProperties(b, {"OnDblClick"});
  b.Prop("OnDeletion", &TListView::OnDeletion);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit"});
  b.Prop("OnGetImageIndex", &TListView::OnGetImageIndex);
  b.Prop("OnInsert", &TListView::OnInsert);
  PublishControlProperties(
      b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
  b.Prop("OnSelectItem", &TListView::OnSelectItem);
  PublishControlProperties(b, {"OnStartDrag"});
}

KV_IMPLEMENT_CLASS(TTreeView, "ComCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("AutoExpand", &TTreeView::GetAutoExpand, &TTreeView::SetAutoExpand).Default(false);
  PublishControlProperties(b, {"BiDiMode"});
  PublishViewBorder(b);
  b.Prop("ChangeDelay", &TTreeView::GetChangeDelay, &TTreeView::SetChangeDelay).Default(0);
  PublishControlProperties(b, {"Color", "Ctl3D", "Constraints", "DragCursor", "DragMode", "Enabled", "Font"});
  b.Prop("HideSelection", &TCustomViewControl::GetHideSelection, &TCustomViewControl::SetHideSelection).Default(true);
  b.Prop("HotTrack", &TCustomViewControl::GetHotTrack, &TCustomViewControl::SetHotTrack).Default(false);
  b.Prop("Images", &TCustomViewControl::GetImages, &TCustomViewControl::SetImages);
  b.Prop("Indent", &TTreeView::GetIndent, &TTreeView::SetIndent);
  PublishControlProperties(b, {"ParentBiDiMode"});
  b.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProperties(b, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ReadOnly", &TCustomViewControl::GetReadOnly, &TCustomViewControl::SetReadOnly).Default(false);
  b.Prop("RightClickSelect", &TTreeView::GetRightClickSelect, &TTreeView::SetRightClickSelect).Default(false);
  b.Prop("RowSelect", &TCustomViewControl::GetRowSelect, &TCustomViewControl::SetRowSelect).Default(false);
  b.Prop("ShowButtons", &TTreeView::GetShowButtons, &TTreeView::SetShowButtons).Default(true);
  PublishControlProperties(b, {"ShowHint"});
  b.Prop("ShowLines", &TTreeView::GetShowLines, &TTreeView::SetShowLines).Default(true);
  b.Prop("ShowRoot", &TTreeView::GetShowRoot, &TTreeView::SetShowRoot).Default(true);
  b.Prop("SortType", &TTreeView::GetSortType, &TTreeView::SetSortType).Default(stNone);
  b.Prop("StateImages", &TCustomViewControl::GetStateImages, &TCustomViewControl::SetStateImages);
  PublishControlProperties(b, {"TabOrder"});
  PublishTabStop(b, true);
  b.Prop("ToolTips", &TTreeView::GetToolTips, &TTreeView::SetToolTips).Default(true);
  PublishControlProperties(b, {"Visible"});
  b.Prop("OnChange", &TTreeView::OnChange);
  b.Prop("OnChanging", &TTreeView::OnChanging);
  PublishControlProperties(b, {"OnClick"});
  b.Prop("OnCollapsed", &TTreeView::OnCollapsed);
  b.Prop("OnCollapsing", &TTreeView::OnCollapsing);
  b.Prop("OnCompare", &TTreeView::OnCompare);
  PublishControlProperties(b, {"OnDblClick"});
  b.Prop("OnDeletion", &TTreeView::OnDeletion);
  PublishControlProperties(b, {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit"});
  b.Prop("OnExpanding", &TTreeView::OnExpanding);
  b.Prop("OnExpanded", &TTreeView::OnExpanded);
  b.Prop("OnGetImageIndex", &TTreeView::OnGetImageIndex);
  b.Prop("OnGetSelectedIndex", &TTreeView::OnGetSelectedIndex);
  PublishControlProperties(
      b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
  b.Prop("Items", &TTreeView::GetItems, &TTreeView::SetItems);
}

KV_IMPLEMENT_CLASS(TToolButton, "ComCtrls") {
  PublishControlProperty(b, "Action");
  b.Prop("AllowAllUp", &TToolButton::GetAllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
  PublishControlProperties(
      b, {"Caption", "DragCursor", "DragMode", "Enabled", "ParentShowHint", "ShowHint", "Visible", "OnClick",
          "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
  b.Prop("Down", &TToolButton::GetDown, &TToolButton::SetDown).Default(false).StoredMethod(&TControl::IsCheckedStored);
  b.Prop("DropdownMenu", &TToolButton::GetDropdownMenu, &TToolButton::SetDropdownMenu);
  b.Prop("Grouped", &TToolButton::GetGrouped, &TToolButton::SetGrouped).Default(false);
  b.Prop("ImageIndex", &TToolButton::GetImageIndex, &TToolButton::SetImageIndex)
      .Default(-1)
      .StoredMethod(&TControl::IsImageIndexStored);
  b.Prop("Indeterminate", &TToolButton::GetIndeterminate, &TToolButton::SetIndeterminate).Default(false);
  b.Prop("Marked", &TToolButton::GetMarked, &TToolButton::SetMarked).Default(false);
  b.Prop("Style", &TToolButton::GetStyle, &TToolButton::SetStyle).Default(tbsButton);
  b.Prop("Wrap", &TToolButton::GetWrap, &TToolButton::SetWrap).Default(false);
}

KV_IMPLEMENT_CLASS(TToolBar, "ComCtrls") {
  PublishCommon(b);
  PublishControlProperties(b, {"BorderWidth"});
  b.Prop("ButtonHeight", &TToolBar::GetButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  b.Prop("ButtonWidth", &TToolBar::GetButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  PublishControlProperties(b, {"Caption", "Color", "ParentColor", "TabOrder", "OnClick", "OnDblClick", "OnResize"});
  b.Prop("DisabledImages", &TToolBar::GetDisabledImages, &TToolBar::SetDisabledImages);
  b.Prop("EdgeBorders", &TToolBar::GetEdgeBorders, &TToolBar::SetEdgeBorders).Default(TEdgeBorders{ebTop});
  b.Prop("EdgeInner", &TToolBar::GetEdgeInner, &TToolBar::SetEdgeInner).Default(esRaised);
  b.Prop("EdgeOuter", &TToolBar::GetEdgeOuter, &TToolBar::SetEdgeOuter).Default(esLowered);
  b.Prop("Flat", &TToolBar::GetFlat, &TToolBar::SetFlat).Default(false);
  b.Prop("HotImages", &TToolBar::GetHotImages, &TToolBar::SetHotImages);
  b.Prop("Images", &TToolBar::GetImages, &TToolBar::SetImages);
  b.Prop("Indent", &TToolBar::GetIndent, &TToolBar::SetIndent).Default(0);
  b.Prop("List", &TToolBar::GetList, &TToolBar::SetList).Default(false);
  b.Prop("ShowCaptions", &TToolBar::GetShowCaptions, &TToolBar::SetShowCaptions).Default(false);
  b.Prop("Transparent", &TToolBar::GetTransparent, &TToolBar::SetTransparent).Default(false);
  b.Prop("Wrapable", &TToolBar::GetWrapable, &TToolBar::SetWrapable).Default(true);
}

KV_IMPLEMENT_CLASS(TRichEdit, "ComCtrls") {
  PublishWin(b);
  PublishTabStop(b, true);
  b.Prop("BorderStyle", &TRichEdit::GetBorderStyle, &TRichEdit::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  PublishControlProperties(b, {"Color", "ParentColor", "OnClick", "OnDblClick"});
  b.Prop("HideSelection", &TRichEdit::GetHideSelection, &TRichEdit::SetHideSelection).Default(true);
  b.Prop("Lines", &TRichEdit::GetLines, &TRichEdit::SetLines);
  b.Prop("MaxLength", &TRichEdit::GetMaxLength, &TRichEdit::SetMaxLength).Default(0);
  b.Prop("PlainText", &TRichEdit::GetPlainText, &TRichEdit::SetPlainText).Default(false);
  b.Prop("ReadOnly", &TRichEdit::GetReadOnly, &TRichEdit::SetReadOnly).Default(false);
  b.Prop("ScrollBars", &TRichEdit::GetScrollBars, &TRichEdit::SetScrollBars).Default(ssNone);
  b.Prop("WordWrap", &TRichEdit::GetWordWrap, &TRichEdit::SetWordWrap).Default(true);
  b.Prop("OnChange", &TRichEdit::OnChange);
}

KV_IMPLEMENT_CLASS(TDateTimePicker, "ComCtrls") {
  PublishWin(b);
  PublishTabStop(b, true);
  b.Prop("CalAlignment", &TDateTimePicker::GetCalAlignment, &TDateTimePicker::SetCalAlignment).Default(dtaLeft);
  b.Prop("Date", &TDateTimePicker::GetDate, &TDateTimePicker::SetDate);
  b.Prop("Time", &TDateTimePicker::GetTime, &TDateTimePicker::SetTime);
  b.Prop("ShowCheckbox", &TDateTimePicker::GetShowCheckbox, &TDateTimePicker::SetShowCheckbox).Default(false);
  b.Prop("Checked", &TDateTimePicker::GetChecked, &TDateTimePicker::SetChecked).Default(true);
  PublishControlProperties(b, {"Color", "ParentColor"});
  b.Prop("DateFormat", &TDateTimePicker::GetDateFormat, &TDateTimePicker::SetDateFormat).Default(dfShort);
  b.Prop("DateMode", &TDateTimePicker::GetDateMode, &TDateTimePicker::SetDateMode).Default(dmComboBox);
  b.Prop("Kind", &TDateTimePicker::GetKind, &TDateTimePicker::SetKind).Default(dtkDate);
  b.Prop("ParseInput", &TDateTimePicker::GetParseInput, &TDateTimePicker::SetParseInput).Default(false);
  b.Prop("OnChange", &TDateTimePicker::OnChange);
}

void RegisterComCtrlsClasses() {
  RegisterClasses({TTabControl::StaticClass(), TPageControl::StaticClass(), TTabSheet::StaticClass(),
                   THeaderControl::StaticClass(), TStatusBar::StaticClass(), TProgressBar::StaticClass(),
                   TTrackBar::StaticClass(), TUpDown::StaticClass(), TImageList::StaticClass(),
                   TListView::StaticClass(), TTreeView::StaticClass(), TToolBar::StaticClass(),
                   TToolButton::StaticClass(), TRichEdit::StaticClass(), TDateTimePicker::StaticClass()});
}

void RegisterCommonControlClasses() {
  RegisterGridsClasses();
  RegisterComCtrlsClasses();
}
