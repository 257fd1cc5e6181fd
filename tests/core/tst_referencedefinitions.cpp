#include "core/ReferenceDefinitions.h"

#include <QTest>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

namespace {

std::vector<ReferenceDefinition> collectedFrom(const QByteArray& markdown) {
    std::vector<ReferenceDefinition> definitions;
    cmark_parser* parser = cmark_parser_new(CMARK_OPT_DEFAULT);
    cmark_parser_attach_syntax_extension(parser, ReferenceDefinitions::collector());
    cmark_parser_feed(parser, markdown.constData(), size_t(markdown.size()));
    {
        const ReferenceDefinitions::Collecting collecting(&definitions);
        cmark_node_free(cmark_parser_finish(parser));
    }
    cmark_parser_free(parser);
    return definitions;
}

} // namespace

// The definitions come out of cmark-gfm's own reference map, read through its
// internal headers: a library whose map reads otherwise must fail here.
class TestReferenceDefinitions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheLibrarysMap() {
        const QByteArray markdown = "[Zeta]: /z \"Z &amp; z\"\n"
                                    "[alpha\n  ONE]: </a b>\n"
                                    "[ZETA]: /second\n"
                                    "[b\\]]: /b 'B'\n"
                                    "\n[zeta] and [alpha one]\n";
        const std::vector<ReferenceDefinition> expected = {{"zeta", "/z", "Z & z"},
                                                           {"alpha one", "/a b", ""},
                                                           {"zeta", "/second", ""},
                                                           {"b\\]", "/b", "B"}};
        QVERIFY2(collectedFrom(markdown) == expected,
                 "cmark-gfm's reference map no longer reads as in 0.29.0.gfm.6 "
                 "(see ReferenceDefinitions.cpp)");
    }
};

QTEST_GUILESS_MAIN(TestReferenceDefinitions)
#include "tst_referencedefinitions.moc"
