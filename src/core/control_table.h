// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>

namespace vel {

// The one lookup of every window's control table: the index of the row whose `role` is `role`.
// In a constant expression, a role with no row, or with two, does not compile.
template <class Row, std::size_t N, class Role>
constexpr std::size_t row_index(const std::array<Row, N>& rows, const Role& role) {
  std::size_t found = N;
  for (std::size_t i = 0; i < N; ++i)
    if (rows[i].role == role) {
      if (found != N) throw "a role has two rows";
      found = i;
    }
  if (found == N) throw "a role has no row";
  return found;
}

// For a table's static_assert: every row's role is its own, and, for roles that are an
// enumeration, every role up to `last` has a row.
template <class Row, std::size_t N>
constexpr bool each_role_once(const std::array<Row, N>& rows) {
  for (std::size_t i = 0; i < N; ++i) row_index(rows, rows[i].role);
  return true;
}
template <class Row, std::size_t N, class Role>
constexpr bool each_role_once(const std::array<Row, N>& rows, Role last) {
  for (int r = 0; r <= static_cast<int>(last); ++r) row_index(rows, static_cast<Role>(r));
  return each_role_once(rows);
}

}  // namespace vel
