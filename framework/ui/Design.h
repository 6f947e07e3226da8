#pragma once
// Chains the design-time settings of a control made with Window::Add<...>(),
// so that a window's controls read as one table: name and rectangle first,
// then what the control shows and which events it answers. Each setting
// compiles only for the kinds of control that have it.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/ui/Picture.h"
#include "framework/ui/TextStyle.h"

namespace layout {

template <class T>
class Design {
 public:
  explicit Design(T& control) : c_(control) {}
  Design& Font(const std::string& family, int size) {
    c_.Font(family, size);
    return *this;
  }
  Design& CaptionSize(int size) {
    c_.CaptionSize(size);
    return *this;
  }
  Design& Underline() {
    c_.Underline();
    return *this;
  }
  Design& ShrinkToFit(int smallestSize) {
    c_.ShrinkToFit(smallestSize);
    return *this;
  }
  Design& Color(std::uint32_t rgb) {
    c_.TextColor(rgb);
    return *this;
  }
  Design& Align(fw::Align align) {
    c_.Alignment(align);
    return *this;
  }
  Design& Multiline() {
    c_.Multiline();
    return *this;
  }
  Design& ReadOnly() {
    c_.ReadOnly();
    return *this;
  }
  Design& ScrollBars(bool vertical, bool horizontal) {
    c_.ScrollBars(vertical, horizontal);
    return *this;
  }
  Design& Text(const std::string& text) {
    c_.SetText(text);
    return *this;
  }
  Design& Caption(const std::string& caption) {
    c_.SetCaption(caption);
    return *this;
  }
  Design& Default() {
    c_.Default();
    return *this;
  }
  Design& Cancel() {
    c_.Cancel();
    return *this;
  }
  // The pop-up's rows and the one selected (-1 for none).
  Design& Rows(std::initializer_list<const char*> rows, int selected) {
    for (const char* row : rows) c_.AddRow(row);
    c_.SetListIndex(selected);
    return *this;
  }
  Design& Backdrop(fw::PicturePtr picture) {
    c_.SetBackdrop(std::move(picture));
    return *this;
  }
  Design& Hidden() {
    c_.SetVisible(false);
    return *this;
  }
  Design& Disabled() {
    c_.SetEnabled(false);
    return *this;
  }
  Design& Locks(bool left, bool top, bool right, bool bottom) {
    c_.SetLocks(left, top, right, bottom);
    return *this;
  }
  Design& Range(int value, int maximum) {
    c_.SetMaximum(maximum);
    c_.SetValue(value);
    return *this;
  }
  // The period first: a mode other than 0 starts the timer at once.
  Design& Timing(int mode, int periodMs) {
    c_.SetPeriod(periodMs);
    c_.SetMode(mode);
    return *this;
  }
  Design& Priority(int priority, int stackSize) {
    c_.SetPriority(priority);
    c_.SetStackSize(stackSize);
    return *this;
  }
  Design& OnAction(std::function<void()> handler) {
    c_.Action = std::move(handler);
    return *this;
  }
  Design& OnChange(std::function<void()> handler) {
    c_.Change = std::move(handler);
    return *this;
  }
  Design& OnRun(std::function<void()> handler) {
    c_.RunEvent = std::move(handler);
    return *this;
  }
  Design& OnMouseDown(std::function<bool(int, int)> handler) {
    c_.MouseDown = std::move(handler);
    return *this;
  }

 private:
  T& c_;
};

template <class T>
Design<T> Set(T& control) {
  return Design<T>(control);
}

}  // namespace layout
