#include "windows/AboutInfo.h"

#include "BuildInfo.h"
#include "core/L10n.h"

AboutInfo AboutInfo::configured() {
    return from(QString::fromUtf8(BuildInfo::version), QString::fromUtf8(BuildInfo::build),
                QString::fromUtf8(BuildInfo::copyright));
}

AboutInfo AboutInfo::from(const QString& version, const QString& build, const QString& copyright) {
    return {version.isEmpty() ? QStringLiteral("1.0") : version,
            build.isEmpty() ? QStringLiteral("1") : build, copyright};
}

QString AboutInfo::versionLabel() const {
    return L10n::tr("Version") + QLatin1Char(' ') + version + QStringLiteral(" (") + build +
           QLatin1Char(')');
}
