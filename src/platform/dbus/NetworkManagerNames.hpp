// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// NetworkManager's names on the system bus.
namespace quorvel::nm {

inline constexpr const char* kService = "org.freedesktop.NetworkManager";
inline constexpr const char* kPath = "/org/freedesktop/NetworkManager";
inline constexpr const char* kInterface = "org.freedesktop.NetworkManager";
inline constexpr const char* kDeviceInterface = "org.freedesktop.NetworkManager.Device";
inline constexpr const char* kActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";

}  // namespace quorvel::nm
