#pragma once

#include <gio/gio.h>

#include <memory>

// Owners of what GLib hands out, each released by GLib's own function for it.
namespace nagitori::posix {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

struct StringFree {
    void operator()(gchar* text) const { g_free(text); }
};
using StringPtr = std::unique_ptr<gchar, StringFree>;

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileFree>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// The user's session bus; null when there is none.
inline ObjectPtr<GDBusConnection> SessionBus() {
    return ObjectPtr<GDBusConnection>(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
}

}  // namespace nagitori::posix
