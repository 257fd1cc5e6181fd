#include "StandInFileInfo.h"

typedef struct {
    GObject parent_instance;
    GFile* location;
    gboolean is_directory;
} StandInFileInfo;

typedef GObjectClass StandInFileInfoClass;

static void stand_in_file_info_iface_init(NautilusFileInfoInterface* iface);

G_DEFINE_TYPE_WITH_CODE(StandInFileInfo, stand_in_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO,
                                              stand_in_file_info_iface_init))

static StandInFileInfo* stand_in(NautilusFileInfo* info) {
    return G_TYPE_CHECK_INSTANCE_CAST(info, stand_in_file_info_get_type(), StandInFileInfo);
}

static gboolean is_gone(NautilusFileInfo* info) {
    (void)info;
    return FALSE;
}

static char* get_name(NautilusFileInfo* info) {
    return g_file_get_basename(stand_in(info)->location);
}

static char* get_uri(NautilusFileInfo* info) {
    return g_file_get_uri(stand_in(info)->location);
}

static char* get_parent_uri(NautilusFileInfo* info) {
    g_autoptr(GFile) parent = g_file_get_parent(stand_in(info)->location);
    return parent != NULL ? g_file_get_uri(parent) : g_strdup("");
}

static char* get_uri_scheme(NautilusFileInfo* info) {
    return g_file_get_uri_scheme(stand_in(info)->location);
}

static gboolean is_directory(NautilusFileInfo* info) {
    return stand_in(info)->is_directory;
}

static GFileType get_file_type(NautilusFileInfo* info) {
    return stand_in(info)->is_directory ? G_FILE_TYPE_DIRECTORY : G_FILE_TYPE_REGULAR;
}

static GFile* get_location(NautilusFileInfo* info) {
    return g_object_ref(stand_in(info)->location);
}

static GFile* get_parent_location(NautilusFileInfo* info) {
    return g_file_get_parent(stand_in(info)->location);
}

static void stand_in_file_info_iface_init(NautilusFileInfoInterface* iface) {
    iface->is_gone = is_gone;
    iface->get_name = get_name;
    iface->get_uri = get_uri;
    iface->get_activation_uri = get_uri;
    iface->get_parent_uri = get_parent_uri;
    iface->get_uri_scheme = get_uri_scheme;
    iface->is_directory = is_directory;
    iface->get_file_type = get_file_type;
    iface->get_location = get_location;
    iface->get_parent_location = get_parent_location;
}

static void stand_in_file_info_finalize(GObject* object) {
    g_clear_object(&((StandInFileInfo*)object)->location);
    G_OBJECT_CLASS(stand_in_file_info_parent_class)->finalize(object);
}

static void stand_in_file_info_class_init(StandInFileInfoClass* klass) {
    klass->finalize = stand_in_file_info_finalize;
}

static void stand_in_file_info_init(StandInFileInfo* self) {
    (void)self;
}

NautilusFileInfo* stand_in_file_info_new(const char* location, gboolean is_directory) {
    StandInFileInfo* self = g_object_new(stand_in_file_info_get_type(), NULL);
    self->location = g_file_new_for_commandline_arg(location);
    self->is_directory = is_directory;
    return NAUTILUS_FILE_INFO(self);
}

void stand_in_file_info_move(NautilusFileInfo* info, const char* location) {
    StandInFileInfo* self = stand_in(info);
    g_object_unref(self->location);
    self->location = g_file_new_for_commandline_arg(location);
}
