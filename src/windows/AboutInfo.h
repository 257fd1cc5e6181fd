#pragma once

#include <QString>

// What the about window tells of this build.
struct AboutInfo {
    QString version;
    QString build;
    QString copyright; // empty: no copyright line

    // The values CMake configured; an unset version reads "1.0", build "1".
    static AboutInfo configured();
    static AboutInfo from(const QString& version, const QString& build, const QString& copyright);

    // "Version 1.0 (1)", the word translated.
    QString versionLabel() const;
};

// The libraries the application is built with, credited by name and address.
namespace AboutCredits {
inline constexpr char markdownLibrary[] = "cmark-gfm";
inline constexpr char markdownLibraryUrl[] = "https://github.com/github/cmark-gfm";
inline constexpr char highlightLibrary[] = "highlight.js";
inline constexpr char highlightLibraryUrl[] = "https://github.com/highlightjs/highlight.js";
} // namespace AboutCredits
