// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <glib-object.h>

#include <memory>

namespace quorvel {

// Owns one reference to a GObject of a C library that has no C++ binding.
struct GObjectUnref {
    void operator()(gpointer object) const
    {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
template <class T>
using GObjectHandle = std::unique_ptr<T, GObjectUnref>;

}  // namespace quorvel
