// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/atspi_reader.h"

#include <mutex>

namespace vel::test {

namespace {

std::string take(gchar* text) {
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

}  // namespace

Accessible::Accessible(AtspiAccessible* owned)
    : object_(owned, [](AtspiAccessible* a) { g_object_unref(a); }) {
  if (!owned) object_.reset();
}

AtspiRole Accessible::role() const {
  return object_ ? atspi_accessible_get_role(object_.get(), nullptr) : ATSPI_ROLE_INVALID;
}

std::string Accessible::name() const {
  return object_ ? take(atspi_accessible_get_name(object_.get(), nullptr)) : "";
}

std::vector<Accessible> Accessible::children() const {
  std::vector<Accessible> result;
  if (!object_) return result;
  const int count = atspi_accessible_get_child_count(object_.get(), nullptr);
  for (int i = 0; i < count; ++i)
    if (AtspiAccessible* child = atspi_accessible_get_child_at_index(object_.get(), i, nullptr))
      result.emplace_back(child);
  return result;
}

Accessible Accessible::find(const std::function<bool(const Accessible&)>& match) const {
  if (!object_) return {};
  if (match(*this)) return *this;
  for (const Accessible& child : children())
    if (Accessible found = child.find(match)) return found;
  return {};
}

Accessible Accessible::find(AtspiRole role, std::string_view name) const {
  return find([&](const Accessible& a) { return a.role() == role && a.name() == name; });
}

bool Accessible::act(std::string_view name) const {
  AtspiAction* action = object_ ? atspi_accessible_get_action_iface(object_.get()) : nullptr;
  if (!action) return false;
  bool done = false;
  const int count = atspi_action_get_n_actions(action, nullptr);
  for (int i = 0; i < count && !done; ++i)
    if (take(atspi_action_get_action_name(action, i, nullptr)) == name)
      done = atspi_action_do_action(action, i, nullptr);
  g_object_unref(action);
  return done;
}

std::string Accessible::line() const {
  if (!object_) return "(nothing)";
  return take(atspi_accessible_get_role_name(object_.get(), nullptr)) + " \"" + name() + "\"";
}

std::string Accessible::outline(int depth) const {
  std::string lines = std::string(2 * depth, ' ') + line() + "\n";
  for (const Accessible& child : children()) lines += child.outline(depth + 1);
  return lines;
}

Accessible accessible_application(pid_t pid) {
  static std::once_flag started;
  std::call_once(started, [] { atspi_init(); });
  Accessible desktop(atspi_get_desktop(0));
  for (const Accessible& application : desktop.children())
    if (pid_t(atspi_accessible_get_process_id(application.object_.get(), nullptr)) == pid) {
      // Every question goes to the program: it changes between two of them.
      atspi_accessible_set_cache_mask(application.object_.get(), ATSPI_CACHE_NONE);
      return application;
    }
  return {};
}

}  // namespace vel::test
