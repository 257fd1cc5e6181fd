#pragma once

#include <QLoggingCategory>

// quon's logging categories: failures that no dialog shows. Warnings are on
// and debug is off by default; QT_LOGGING_RULES turns either on or off
// ("quon.*.debug=true", "quon.preview.warning=false").
Q_DECLARE_LOGGING_CATEGORY(quonPlatform) // quon.platform: instance socket, D-Bus, desktop
Q_DECLARE_LOGGING_CATEGORY(quonDocument) // quon.document: opening and saving files
Q_DECLARE_LOGGING_CATEGORY(quonPreview)  // quon.preview: the preview and code colouring
