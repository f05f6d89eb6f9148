#include "shell/controls.h"

#include <algorithm>

#include "base/failure.h"
#include "shell/grid_model.h"

namespace plyscan::ui {

namespace {

constexpr char16_t kListIndexError[] = u"リストのインデックスが範囲を超えています (%d)";

}  // namespace

void ThrowListIndexError(std::int32_t index) { throw Failure(Format(kListIndexError, {DecimalText(index)})); }

Control::Control(const ControlDesign& design)
    : design_(&design), text_(design.caption), visible_((design.flags & kHidden) == 0), bounds_(design.bounds) {
  if (design.kind == Kind::kDrawGrid) grid_ = std::make_unique<GridModel>();
}

Control::~Control() = default;

GridModel& Control::Grid() const {
  if (!grid_) throw Failure(u"control " + DecimalText(Id()) + u" is not a grid");
  return *grid_;
}

void Control::Notify(Property what) {
  if (peer_) peer_->Changed(what);
}

void Control::SetText(Text text) {
  text_ = std::move(text);
  Notify(Property::kText);
}

void Control::SetChecked(bool checked) {
  checked_ = checked;
  Notify(Property::kChecked);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Notify(Property::kVisible);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Notify(Property::kEnabled);
}

void Control::SetBounds(Rect bounds) {
  bounds_ = bounds;
  Notify(Property::kBounds);
}

void Control::SetPosition(std::int32_t position) {
  position_ = position;
  Notify(Property::kPosition);
}

void Control::SetMax(std::int32_t max) {
  max_ = max;
  Notify(Property::kMax);
}

void Control::CheckIndex(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) ThrowListIndexError(index);
}

void Control::SetItemIndex(std::int32_t index) {
  if (index != -1) CheckIndex(index);
  item_index_ = index;
  Notify(Property::kItemIndex);
}

void Control::UserSetItemIndex(std::int32_t index) {
  item_index_ = index >= 0 && static_cast<std::size_t>(index) < items_.size() ? index : -1;
}

const Text& Control::Item(std::int32_t index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

void Control::LoadSorted(std::vector<Text> lines, const Collator& collator) {
  // A stable sort places each line after the lines equal to it, as adding
  // them one by one does.
  std::stable_sort(lines.begin(), lines.end(),
                   [&collator](const Text& a, const Text& b) { return collator.Compare(a, b) < 0; });
  items_ = std::move(lines);
  item_index_ = -1;
  Notify(Property::kItems);
}

std::int32_t Control::AddSorted(Text entry, const Collator& collator) {
  const auto at = std::upper_bound(items_.begin(), items_.end(), entry, [&collator](const Text& a, const Text& b) {
    return collator.Compare(a, b) < 0;
  });
  const auto index = static_cast<std::int32_t>(at - items_.begin());
  items_.insert(at, std::move(entry));
  if (item_index_ >= index) ++item_index_;
  Notify(Property::kItems);
  return index;
}

void Control::Delete(std::int32_t index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  item_index_ = -1;
  Notify(Property::kItems);
}

void Control::Replace(std::int32_t index, Text entry) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)] = std::move(entry);
  Notify(Property::kItems);
}

Form::Form(const FormDesign& design) : design_(&design), caption_(design.caption) {
  controls_.reserve(design.controls.size());
  for (const ControlDesign& c : design.controls) controls_.push_back(std::make_unique<Control>(c));
}

Control& Form::operator[](ControlId id) const {
  for (const auto& c : controls_)
    if (c->Id() == id) return *c;
  throw Failure(u"no control " + DecimalText(id) + u" in " + Text(design_->class_name));
}

void Form::SetCaption(Text caption) {
  caption_ = std::move(caption);
  if (peer_) peer_->CaptionChanged();
}

void Form::Click(Control& control) {
  if (control.OnClick) control.OnClick();
  if (control.Design().modal_result != ModalResult::kNone) modal_result_ = control.Design().modal_result;
}

ModalResult Form::ShowModal() {
  modal_result_ = ModalResult::kNone;
  const ModalResult result = Peer().ShowModal();
  modal_result_ = ModalResult::kNone;
  return result;
}

void Form::DoShow() {
  if (OnShow) OnShow();
}

void Form::DoResize() {
  if (OnResize) OnResize();
}

bool Form::CloseQuery() { return !OnCloseQuery || OnCloseQuery(); }

FormPeer& Form::Peer() const {
  if (!peer_) throw Failure(u"the window of " + Text(design_->class_name) + u" does not exist");
  return *peer_;
}

}  // namespace plyscan::ui
