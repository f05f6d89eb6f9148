// The control layer's portable half: designed layouts as tables of values, and
// the controls and forms that keep their properties so that the handlers of
// the program's windows run, and are tested, without any window system. A
// window system attaches a peer to each control and form; the model tells the
// peer what changed, and the window system tells the model what the user did.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "base/collation.h"
#include "base/geometry.h"
#include "base/text.h"
#include "shell/control_ids.h"

namespace plyscan::ui {

enum class Kind : std::uint8_t {
  kPushButton,
  kCheckBox,
  kEdit,
  kListBox,  // sorted, single selection
  kGroupBox,
  kLabel,
  kSpeedButton,  // flat, takes no focus
  kProgressBar,
  kDrawGrid,  // owner-drawn; the board paints it
};

enum Flag : std::uint32_t {
  kHidden = 1u << 0,
  kCentred = 1u << 1,      // text centred (edits)
  kNoTabStop = 1u << 2,    // skipped by the Tab key
  kImeOff = 1u << 3,       // input method switched off while focused
  kAnchorAll = 1u << 4,    // keeps its distance to all four edges of the parent
  kAlignBottom = 1u << 5,  // along the bottom edge, over the full width
};

enum class ModalResult : std::uint8_t { kNone, kOk, kCancel };

inline constexpr std::int32_t kNoTabOrder = -1;

// One row of a designed layout.
struct ControlDesign {
  ControlId id;
  Kind kind;
  const char16_t* caption;  // caption or initial text; empty for none
  const char16_t* hint;     // tool-tip text; empty for none
  Rect bounds;              // pixels at 96 dpi, relative to the parent (the form's client area or a group box)
  std::int32_t tab_order;     // within the parent; kNoTabOrder for none
  std::int32_t font_height;   // character height in pixels at 96 dpi; 0 for the form's font
  std::uint32_t flags;        // Flag bits
  ControlId parent;           // the group box holding it; kOnForm for the form
  ModalResult modal_result;   // a push button that closes a modal form with this result
};

enum class Frame : std::uint8_t {
  kSizeableNoMaximise,  // sizeable, system menu and minimise, no maximise
  kFixedDialog,         // fixed dialog frame, close button only
};

struct FormDesign {
  const char16_t* class_name;  // also the window class under Win32
  const char16_t* caption;
  std::int32_t client_width;  // pixels at 96 dpi
  std::int32_t client_height;
  const char16_t* font_face;
  std::int32_t font_height;  // character height in pixels at 96 dpi
  Frame frame;
  bool topmost;
  bool own_taskbar_button;
  std::span<const ControlDesign> controls;
};

enum class Property : std::uint8_t { kText, kChecked, kVisible, kEnabled, kBounds, kPosition, kMax, kItems, kItemIndex };

// The window-system side of one control: told after each change of the model.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Changed(Property what) = 0;
};

class GridModel;

class Control {
 public:
  explicit Control(const ControlDesign& design);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control();

  const ControlDesign& Design() const noexcept { return *design_; }
  ControlId Id() const noexcept { return design_->id; }

  // Caption or text.
  const Text& GetText() const noexcept { return text_; }
  void SetText(Text text);
  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool checked);
  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  // At 96 dpi, relative to the parent.
  const Rect& GetBounds() const noexcept { return bounds_; }
  void SetBounds(Rect bounds);
  std::int32_t Position() const noexcept { return position_; }
  void SetPosition(std::int32_t position);
  std::int32_t Max() const noexcept { return max_; }
  void SetMax(std::int32_t max);

  // The list box's entries, in the order shown, and its selection (-1: none).
  const std::vector<Text>& Items() const noexcept { return items_; }
  std::int32_t ItemIndex() const noexcept { return item_index_; }
  // Selects entry `index` (-1 selects nothing); another index is the list
  // index error.
  void SetItemIndex(std::int32_t index);
  // The entry at `index`; the list index error when there is none.
  const Text& Item(std::int32_t index) const;
  // Replaces every entry by `lines`, each at its sorted place; nothing selected.
  void LoadSorted(std::vector<Text> lines, const Collator& collator);
  // Inserts `entry` at its sorted place (after the entries equal to it) and
  // returns its index; the selection stays with the entry it was on.
  std::int32_t AddSorted(Text entry, const Collator& collator);
  // Removes entry `index`; selection goes. The list index error when there is none.
  void Delete(std::int32_t index);
  // Puts `entry` in place of entry `index`, without sorting; the selection stays.
  void Replace(std::int32_t index, Text entry);

  // What the user did, reported by the window system: the value changes
  // without being echoed back to the peer.
  void UserSetText(Text text) { text_ = std::move(text); }
  void UserSetChecked(bool checked) { checked_ = checked; }
  void UserSetItemIndex(std::int32_t index);

  void AttachPeer(ControlPeer* peer) noexcept { peer_ = peer; }

  // The draw grid's own state and events; only a draw grid has one.
  GridModel& Grid() const;

  // Events. OnKeyPress may replace the character; 0 swallows it.
  std::function<void()> OnClick;
  std::function<void(char16_t&)> OnKeyPress;

 private:
  void Notify(Property what);
  void CheckIndex(std::int32_t index) const;

  const ControlDesign* design_;
  ControlPeer* peer_ = nullptr;
  Text text_;
  bool checked_ = false;
  bool visible_;
  bool enabled_ = true;
  Rect bounds_;
  std::int32_t position_ = 0;
  std::int32_t max_ = 100;
  std::vector<Text> items_;
  std::int32_t item_index_ = -1;
  std::unique_ptr<GridModel> grid_;
};

enum class Stacking : std::uint8_t { kTopmost, kNotTopmost };

// The window-system side of a form.
class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void CaptionChanged() = 0;
  // The window's rectangle now.
  virtual Rect WindowRect() = 0;
  // The rectangle of the window in its normal state: for a minimised window,
  // where it was before it was minimised.
  virtual Rect NormalRect() = 0;
  virtual void SetWindowRect(Rect rect) = 0;
  // SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE.
  virtual void SetStacking(Stacking stacking) = 0;
  // Shows the form modally, calling Form::DoShow once it is visible, and
  // returns when the form's modal result is set or the form is closed.
  virtual ModalResult ShowModal() = 0;
  virtual void AcceptDroppedFiles(bool accept) = 0;
  // Leaves the window out of (or puts it back into) the screen's copies;
  // false where the system cannot do so.
  virtual bool ExcludeFromCapture(bool exclude) = 0;
  // Asks the window to close, as its close box does, once the current
  // message is handled.
  virtual void Close() = 0;
  // Brings the window to the front with the keyboard (SetForegroundWindow).
  virtual void Activate() = 0;
};

class Form {
 public:
  explicit Form(const FormDesign& design);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormDesign& Design() const noexcept { return *design_; }

  // The control of that identifier; the program's own layouts have every
  // control they ask for.
  Control& operator[](ControlId id) const;
  std::span<const std::unique_ptr<Control>> Controls() const noexcept { return controls_; }

  const Text& Caption() const noexcept { return caption_; }
  void SetCaption(Text caption);

  // Runs the control's OnClick, then closes a modal form when the control
  // carries a modal result.
  void Click(Control& control);
  ModalResult GetModalResult() const noexcept { return modal_result_; }
  void SetModalResult(ModalResult result) noexcept { modal_result_ = result; }

  // Shows the form modally and returns how it closed.
  ModalResult ShowModal();
  // Called by the window system once the form is visible.
  void DoShow();
  // Called by the window system after the client area changed its size.
  void DoResize();
  // Called by the window system when the user asks to close the form: true
  // lets it close.
  bool CloseQuery();

  void AttachPeer(FormPeer* peer) noexcept { peer_ = peer; }
  FormPeer& Peer() const;
  bool HasPeer() const noexcept { return peer_ != nullptr; }

  std::function<void()> OnShow;
  std::function<void()> OnResize;
  // False keeps the form open.
  std::function<bool()> OnCloseQuery;

 private:
  const FormDesign* design_;
  FormPeer* peer_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  Text caption_;
  ModalResult modal_result_ = ModalResult::kNone;
};

// The list index error, as the dialog's list raises it.
[[noreturn]] void ThrowListIndexError(std::int32_t index);

}  // namespace plyscan::ui
