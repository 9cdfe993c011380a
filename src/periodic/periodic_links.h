// TPeriodicLinks: what the periodic-table windows reach outside themselves (the main window,
// the constants list and the conversion window). The main window fills it; an item whose
// callback is empty stays disabled.
#pragma once

#include <functional>
#include <string>

namespace periodic {

struct TPeriodicLinks {
  std::function<void()> ShowMain;
  std::function<void()> ShowConstants;
  // "&Add to Const": puts name, expression and description into the constant-entry window and
  // adds the constant as a new last row of the constant list, refreshing the list when that
  // succeeds; true when the constant was stored.
  std::function<bool(const std::string& name, const std::string& expression,
                     const std::string& description)>
      AddConstant;
  // Hands a value to the unit-conversion window as its input, shows that window and sets its
  // status text.
  std::function<void(const std::string& value, const std::string& statusText)> ConvertValue;
};

}  // namespace periodic
