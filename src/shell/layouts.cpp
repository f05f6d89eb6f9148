#include "shell/layouts.h"

#include <array>

namespace plyscan::ui {

namespace {

constexpr ModalResult kNoResult = ModalResult::kNone;

// Main window. Controls in the designer's order along the toolbar, then the
// board and the bar; the board keeps its distance to every edge and the bar
// runs along the bottom.
constexpr std::array<ControlDesign, 11> kForm60Controls{{
    // name, kind, caption, hint, left/top/width/height, tab order, font height, flags, parent, modal result
    {u"Button3", Kind::kPushButton, u"CAD", u"ターゲットCAD を変更", {1, 0, 34, 25}, 0, 0, 0, u"", kNoResult},
    {u"Button4", Kind::kPushButton, u"キャプチャ", u"画僧ごとに画面をキャプチャ", {39, 0, 66, 25}, 4, 0, 0, u"",
     kNoResult},
    {u"CheckBox1", Kind::kCheckBox, u"モノクロ", u"キャプチャ時、背景色・黒以外を白色に変更", {111, 4, 53, 17}, 6,
     0, 0, u"", kNoResult},
    {u"Edit1", Kind::kEdit, u"33,40,48", u"背景色 R,G,B", {170, 4, 75, 22}, 7, 12, kCentred | kNoTabStop | kImeOff,
     u"", kNoResult},
    {u"CheckBox2", Kind::kCheckBox, u"ZOOM Ext", u"", {245, 4, 71, 17}, 10, 0, 0, u"", kNoResult},
    {u"Button2", Kind::kPushButton, u"状態復元", u"図面に保存した画層状態を復元", {322, 0, 63, 25}, 2, 0, 0, u"",
     kNoResult},
    {u"Button6", Kind::kPushButton, u"状態削除", u"画層状態を図面から削除", {387, 0, 69, 25}, 3, 0, 0, u"",
     kNoResult},
    {u"Button5", Kind::kPushButton, u"戻す", u"キャプチャ前の画層状態に戻す", {453, 0, 45, 25}, 5, 0, kHidden, u"",
     kNoResult},
    {u"Button1", Kind::kPushButton, u"状態保存", u"現在の画層状態を図面に保存", {504, 0, 54, 25}, 1, 0, kHidden, u"",
     kNoResult},
    {u"DrawGrid1", Kind::kDrawGrid, u"", u"クリックでこの画層だけ表示", {0, 27, 665, 296}, 8, 0, kAnchorAll, u"",
     kNoResult},
    {u"ProgressBar1", Kind::kProgressBar, u"", u"", {0, 308, 665, 15}, 9, 0, kHidden | kAlignBottom, u"", kNoResult},
}};

constexpr GridDesign kBoardGrid{200, 140, 5, 5, 0x808080, 0x404040};

constexpr FormDesign kForm60{
    u"TForm60", u"PLYSCAN", 665, 323, u"Tahoma", 11, Frame::kSizeableNoMaximise, true, true, kForm60Controls};

// Target dialog. The group box holds the two fields, their labels and the
// three flat buttons; their positions are relative to it.
constexpr std::array<ControlDesign, 11> kTargetCADControls{{
    {u"ListBox1", Kind::kListBox, u"", u"", {8, 8, 297, 137}, 0, 13, 0, u"", kNoResult},
    {u"GroupBox1", Kind::kGroupBox, u"", u"", {8, 151, 297, 105}, 3, 0, 0, u"", kNoResult},
    {u"Label1", Kind::kLabel, u"名称 （説明）", u"", {16, 3, 64, 14}, kNoTabOrder, 12, 0, u"GroupBox1", kNoResult},
    {u"Edit1", Kind::kEdit, u"", u"", {16, 23, 198, 24}, 0, 13, kImeOff, u"GroupBox1", kNoResult},
    {u"Label2", Kind::kLabel, u"ProgID （クラス文字列）", u"", {16, 53, 114, 14}, kNoTabOrder, 12, 0, u"GroupBox1",
     kNoResult},
    {u"Edit2", Kind::kEdit, u"", u"", {16, 73, 198, 24}, 1, 13, kImeOff, u"GroupBox1", kNoResult},
    {u"SpeedButton1", Kind::kSpeedButton, u"追加", u"", {220, 21, 71, 22}, kNoTabOrder, 0, 0, u"GroupBox1",
     kNoResult},
    {u"SpeedButton2", Kind::kSpeedButton, u"削除", u"", {220, 49, 71, 22}, kNoTabOrder, 0, 0, u"GroupBox1",
     kNoResult},
    {u"SpeedButton3", Kind::kSpeedButton, u"変更", u"", {220, 77, 71, 22}, kNoTabOrder, 0, 0, u"GroupBox1",
     kNoResult},
    {u"Button1", Kind::kPushButton, u"OK", u"", {80, 271, 75, 25}, 1, 0, 0, u"", ModalResult::kOk},
    {u"Button2", Kind::kPushButton, u"取り消し", u"", {161, 271, 88, 25}, 2, 0, 0, u"", ModalResult::kCancel},
}};

constexpr FormDesign kTargetCADForm{
    u"TTargetCADForm", u"ターゲット CAD", 315, 307, u"Tahoma", 11, Frame::kFixedDialog, false, false,
    kTargetCADControls};

}  // namespace

const FormDesign& Form60Design() noexcept { return kForm60; }

const GridDesign& BoardGridDesign() noexcept { return kBoardGrid; }

const FormDesign& TargetCADFormDesign() noexcept { return kTargetCADForm; }

}  // namespace plyscan::ui
