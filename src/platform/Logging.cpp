#include "platform/Logging.h"

Q_LOGGING_CATEGORY(quonPlatform, "quon.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(quonDocument, "quon.document", QtWarningMsg)
Q_LOGGING_CATEGORY(quonPreview, "quon.preview", QtWarningMsg)
