// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's bundled pictures, reference page and style sheet under /org/quorvel/Quorvel.
#include <gio/gio.h>

G_BEGIN_DECLS
void quorvel_resources_register_resource(void);
G_END_DECLS
