#include "shell/layouts.h"

#include <array>

#include "shell/window_class_names.h"

namespace plyscan::ui {

namespace {

constexpr ModalResult kNoResult = ModalResult::kNone;
constexpr auto At = Rect::Sized;  // left, top, width, height

namespace m = main_controls;
namespace d = dialog_controls;

// clang-format off

// Main window. Controls in the designer's order along the toolbar, then the
// board and the bar; the board keeps its distance to every edge and the bar
// runs along the bottom. The undo-capture and save-state buttons are hidden:
// a capture saves the state itself, and the restore button puts it back.
constexpr std::array<ControlDesign, 12> kMainWindowControls{{
    // id, kind, caption, hint, bounds, tab order, font height, flags, parent, modal result
    {m::kTargetButton, Kind::kPushButton, u"CAD", u"ターゲットCAD を変更", At(1, 0, 34, 25), 0, 0, 0, kOnForm,
     kNoResult},
    {m::kCaptureButton, Kind::kPushButton, u"キャプチャ", u"画層ごとに画面をキャプチャ", At(39, 0, 66, 25), 4, 0, 0,
     kOnForm, kNoResult},
    {m::kMonochromeBox, Kind::kCheckBox, u"モノクロ", u"キャプチャ時、背景色・黒以外を白色に変更", At(111, 4, 53, 17),
     6, 0, 0, kOnForm, kNoResult},
    {m::kBackgroundField, Kind::kEdit, u"33,40,48", u"背景色 R,G,B", At(170, 4, 75, 22), 7, 12,
     kCentred | kNoTabStop | kImeOff, kOnForm, kNoResult},
    {m::kZoomExtentsBox, Kind::kCheckBox, u"ZOOM Ext", u"", At(245, 4, 71, 17), 10, 0, 0, kOnForm, kNoResult},
    {m::kRestoreStateButton, Kind::kPushButton, u"状態復元", u"図面に保存した画層状態を復元", At(322, 0, 63, 25), 2, 0,
     0, kOnForm, kNoResult},
    {m::kDeleteStateButton, Kind::kPushButton, u"状態削除", u"画層状態を図面から削除", At(387, 0, 69, 25), 3, 0, 0,
     kOnForm, kNoResult},
    {m::kFitLayerBox, Kind::kCheckBox, u"フィット", u"画層ごとに図形の範囲を拡大してキャプチャ", At(462, 4, 64, 17),
     11, 0, 0, kOnForm, kNoResult},
    {m::kUndoCaptureButton, Kind::kPushButton, u"戻す", u"キャプチャ前の画層状態に戻す", At(453, 0, 45, 25), 5, 0,
     kHidden, kOnForm, kNoResult},
    {m::kSaveStateButton, Kind::kPushButton, u"状態保存", u"現在の画層状態を図面に保存", At(504, 0, 54, 25), 1, 0,
     kHidden, kOnForm, kNoResult},
    {m::kBoard, Kind::kDrawGrid, u"", u"クリックでこの画層だけ表示", At(0, 27, 665, 296), 8, 0, kAnchorAll, kOnForm,
     kNoResult},
    {m::kProgressBar, Kind::kProgressBar, u"", u"", At(0, 308, 665, 15), 9, 0, kHidden | kAlignBottom, kOnForm,
     kNoResult},
}};

constexpr GridDesign kBoardGrid{200, 140, 5, 5, 0x808080, 0x404040};

constexpr FormDesign kMainWindow{
    kMainWindowClass, u"PLYSCAN", 665, 323, u"Tahoma", 11, Frame::kSizeableNoMaximise, true, true,
    kMainWindowControls};

// Target dialog. The group box holds the two fields, their labels and the
// three flat buttons; their positions are relative to it.
constexpr std::array<ControlDesign, 11> kTargetDialogControls{{
    {d::kTargetList, Kind::kListBox, u"", u"", At(8, 8, 297, 137), 0, 13, 0, kOnForm, kNoResult},
    {d::kFieldGroup, Kind::kGroupBox, u"", u"", At(8, 151, 297, 105), 3, 0, 0, kOnForm, kNoResult},
    {d::kNameLabel, Kind::kLabel, u"名称 （説明）", u"", At(16, 3, 64, 14), kNoTabOrder, 12, 0, d::kFieldGroup,
     kNoResult},
    {d::kNameField, Kind::kEdit, u"", u"", At(16, 23, 198, 24), 0, 13, kImeOff, d::kFieldGroup, kNoResult},
    {d::kProgIdLabel, Kind::kLabel, u"ProgID （クラス文字列）", u"", At(16, 53, 114, 14), kNoTabOrder, 12, 0,
     d::kFieldGroup, kNoResult},
    {d::kProgIdField, Kind::kEdit, u"", u"", At(16, 73, 198, 24), 1, 13, kImeOff, d::kFieldGroup, kNoResult},
    {d::kAddButton, Kind::kSpeedButton, u"追加", u"", At(220, 21, 71, 22), kNoTabOrder, 0, 0, d::kFieldGroup,
     kNoResult},
    {d::kDeleteButton, Kind::kSpeedButton, u"削除", u"", At(220, 49, 71, 22), kNoTabOrder, 0, 0, d::kFieldGroup,
     kNoResult},
    {d::kReplaceButton, Kind::kSpeedButton, u"変更", u"", At(220, 77, 71, 22), kNoTabOrder, 0, 0, d::kFieldGroup,
     kNoResult},
    {d::kOkButton, Kind::kPushButton, u"OK", u"", At(80, 271, 75, 25), 1, 0, 0, kOnForm, ModalResult::kOk},
    {d::kCancelButton, Kind::kPushButton, u"取り消し", u"", At(161, 271, 88, 25), 2, 0, 0, kOnForm,
     ModalResult::kCancel},
}};

constexpr FormDesign kTargetDialog{
    kTargetDialogClass, u"ターゲット CAD", 315, 307, u"Tahoma", 11, Frame::kFixedDialog, false, false,
    kTargetDialogControls};

// clang-format on

}  // namespace

const FormDesign& MainWindowDesign() noexcept { return kMainWindow; }

const GridDesign& BoardGridDesign() noexcept { return kBoardGrid; }

const FormDesign& TargetDialogDesign() noexcept { return kTargetDialog; }

}  // namespace plyscan::ui
