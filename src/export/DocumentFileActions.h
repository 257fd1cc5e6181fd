#pragma once

#include <QString>

// The alert of a failed export.
namespace DocumentFileActions {

// "Export Failed" with the message below it; returns when dismissed.
void presentError(const QString& message);

} // namespace DocumentFileActions
