#include "shell/command_registry.h"

#include <stdexcept>

namespace shell {

void CommandRegistry::add(const std::string& name, Run run) {
  if (!run) throw std::logic_error("command without a function: " + name);
  insert(name, Entry{std::move(run), {}});
}

void CommandRegistry::addCheckable(const std::string& name, Run run, Checked checked) {
  if (!run || !checked) throw std::logic_error("checkable command without a function: " + name);
  insert(name, Entry{std::move(run), std::move(checked)});
}

void CommandRegistry::insert(const std::string& name, Entry entry) {
  if (name.empty()) throw std::logic_error("command without a name");
  // Two registrations of one name would leave it to chance which one a menu item runs.
  if (!m_commands.emplace(name, std::move(entry)).second) {
    throw std::logic_error("command registered twice: " + name);
  }
}

const CommandRegistry::Entry* CommandRegistry::find(std::string_view name) const {
  const auto it = m_commands.find(name);
  return it == m_commands.end() ? nullptr : &it->second;
}

bool CommandRegistry::has(std::string_view name) const { return find(name) != nullptr; }

bool CommandRegistry::run(std::string_view name) const {
  const Entry* entry = find(name);
  if (!entry) return false;
  entry->run();
  return true;
}

bool CommandRegistry::isCheckable(std::string_view name) const {
  const Entry* entry = find(name);
  return entry && entry->checked;
}

bool CommandRegistry::isChecked(std::string_view name) const {
  const Entry* entry = find(name);
  return entry && entry->checked && entry->checked();
}

std::vector<std::string> CommandRegistry::names() const {
  std::vector<std::string> result;
  result.reserve(m_commands.size());
  for (const auto& [name, entry] : m_commands) result.push_back(name);
  return result;
}

void CommandRegistry::checkedStateChanged() const {
  for (const auto& listener : m_listeners) listener();
}

void CommandRegistry::addCheckedStateListener(std::function<void()> listener) {
  m_listeners.push_back(std::move(listener));
}

}  // namespace shell
