#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// Every command of the editor, registered once under its name ("AddTimeTag", "SaveLyrics").
// Menu items, pop-up items and toolbar buttons only name their command; what runs and whether a
// check mark is on is decided here.
class CommandRegistry {
 public:
  // What a command does.
  using Run = std::function<void()>;
  // Whether a command's check mark is on.
  using Checked = std::function<bool()>;

  // Registers `name` with what it runs. A name is registered once; a second registration, an
  // empty name or an empty function is a programming error (std::logic_error).
  void add(const std::string& name, Run run);
  // Registers a command with a check mark, whose state `checked` reads.
  void addCheckable(const std::string& name, Run run, Checked checked);

  // True when `name` is registered.
  bool has(std::string_view name) const;
  // Runs `name`; false when no command has that name.
  bool run(std::string_view name) const;
  // True when `name` has a check mark.
  bool isCheckable(std::string_view name) const;
  // The check mark of `name`; false for a command without one.
  bool isChecked(std::string_view name) const;
  // Every registered name, sorted.
  std::vector<std::string> names() const;

  // Tells the listeners that a check mark may have changed; owners of a checked state call it
  // when the state changes outside a command (start-up values, other commands).
  void checkedStateChanged() const;
  // Adds a listener called on every checkedStateChanged().
  void addCheckedStateListener(std::function<void()> listener);

 private:
  struct Entry {
    Run run;
    Checked checked;
  };

  void insert(const std::string& name, Entry entry);
  const Entry* find(std::string_view name) const;

  std::map<std::string, Entry, std::less<>> m_commands;
  std::vector<std::function<void()>> m_listeners;
};

}  // namespace shell
