#include "core/MarkdownParseCache.h"

#include <utility>

MarkdownParseCache::MarkdownParseCache(QObject* parent)
    : QObject(parent), m_document(MarkdownParser::parse(QString())) {
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(debounceMs);
    connect(&m_debounce, &QTimer::timeout, this,
            [this] { assign(std::exchange(m_pendingText, {})); });
}

void MarkdownParseCache::scheduleParse(const QString& text) {
    m_pendingText = text;
    m_debounce.start();
}

void MarkdownParseCache::parseNow(const QString& text) {
    m_debounce.stop();
    m_pendingText.clear();
    assign(text);
}

void MarkdownParseCache::assign(const QString& text) {
    m_document = MarkdownParser::reparse(*m_document, text);
    Q_EMIT changed();
}
