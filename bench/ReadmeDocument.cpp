#include "ReadmeDocument.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <iterator>

namespace {

constexpr int screenshots = 4;
constexpr int badges = 6;

struct Sample {
    const char* language;
    const char* code;
};

// Code as READMEs show it, a dozen languages and more.
const Sample samples[] = {
    {"bash",
     "# install and run\nnpm install --save widget-%1\nexport WIDGET_HOME=\"$HOME/.widget\"\n"
     "widget serve --port 80%2 --verbose\n"},
    {"python", "from widget import Client\n\nclient = Client(token=\"t-%1\", retries=3)\n"
               "for item in client.items(limit=%2):\n    print(item.name, item.size)\n"},
    {"javascript", "import { render } from 'widget';\n\nconst app = render('#root', {\n"
                   "  theme: 'dark',\n  items: [%1, %2],\n});\napp.on('ready', () => "
                   "console.log('ready'));\n"},
    {"typescript", "interface Options {\n  retries: number;\n  endpoint?: string;\n}\n\n"
                   "export function connect(o: Options = { retries: %1 }): Promise<void> {\n"
                   "  return fetch(o.endpoint ?? '/api/%2').then(() => undefined);\n}\n"},
    {"json", "{\n  \"name\": \"widget-%1\",\n  \"version\": \"1.%2.0\",\n  \"scripts\": {\n"
             "    \"build\": \"tsc -p .\",\n    \"test\": \"jest\"\n  }\n}\n"},
    {"yaml", "services:\n  web:\n    image: widget:%1\n    ports:\n      - \"80%2:80\"\n"
             "    environment:\n      - LOG_LEVEL=debug\n"},
    {"go", "package main\n\nimport \"fmt\"\n\nfunc main() {\n\tfor i := 0; i < %1; i++ {\n"
           "\t\tfmt.Println(\"widget\", i, %2)\n\t}\n}\n"},
    {"rust", "use widget::Client;\n\nfn main() -> Result<(), Box<dyn std::error::Error>> {\n"
             "    let client = Client::new(\"t-%1\")?;\n    println!(\"{}\", client.count(%2)?);\n"
             "    Ok(())\n}\n"},
    {"c", "#include <stdio.h>\n\nint main(void) {\n    int total = 0;\n"
          "    for (int i = 0; i < %1; ++i)\n        total += i * %2;\n"
          "    printf(\"%d\\n\", total);\n    return 0;\n}\n"},
    {"cpp", "#include <vector>\n\nstd::vector<int> widgets(int n) {\n    std::vector<int> out;\n"
            "    for (int i = 0; i < n; ++i)\n        out.push_back(i * %1 + %2);\n"
            "    return out;\n}\n"},
    {"java", "public final class Widget%1 {\n    private final int size;\n\n"
             "    public Widget%1(int size) { this.size = size + %2; }\n\n"
             "    public int size() { return size; }\n}\n"},
    {"ruby",
     "require 'widget'\n\nclient = Widget::Client.new(token: 't-%1')\n"
     "client.items(limit: %2).each do |item|\n  puts \"#{item.name}: #{item.size}\"\nend\n"},
    {"swift", "import Widget\n\nlet client = Client(token: \"t-%1\")\n"
              "let items = try await client.items(limit: %2)\nitems.forEach { print($0.name) }\n"},
    {"kotlin", "data class Widget(val id: Int, val name: String)\n\n"
               "fun main() {\n    val w = Widget(%1, \"w-%2\")\n    println(w)\n}\n"},
    {"sql", "SELECT w.id, w.name, count(*) AS uses\nFROM widgets w\n"
            "JOIN uses u ON u.widget_id = w.id\nWHERE w.id > %1\nGROUP BY w.id\nLIMIT %2;\n"},
    {"dockerfile",
     "FROM node:20-alpine\nWORKDIR /app\nCOPY package*.json ./\n"
     "RUN npm ci --omit=dev\nCOPY . .\nEXPOSE 80%2\nCMD [\"node\", \"server-%1.js\"]\n"},
    {"diff", "--- a/widget.conf\n+++ b/widget.conf\n@@ -1,3 +1,3 @@\n port = 80%1\n"
             "-retries = 2\n+retries = %2\n log = info\n"},
    {"toml", "[package]\nname = \"widget-%1\"\nversion = \"0.%2.0\"\nedition = \"2021\"\n\n"
             "[dependencies]\nserde = { version = \"1\", features = [\"derive\"] }\n"},
};

QString filled(const char* pattern, int i) {
    return QString::fromUtf8(pattern).arg(i).arg(i % 97);
}

QString code(int index, int i) {
    const Sample& sample = samples[size_t(index) % std::size(samples)];
    return QStringLiteral("```") + QLatin1String(sample.language) + u'\n' + filled(sample.code, i) +
           QStringLiteral("```\n\n");
}

// One project's section: about 5 KB.
QString section(int i) {
    QString out;
    out += QStringLiteral("## Module %1: the widget-%1 package\n\n").arg(i);
    // A row of badges, each a picture inside a link.
    out +=
        QStringLiteral("[![Build](docs/badges/badge-%1.svg)](https://ci.example.org/widget-%2) "
                       "[![Coverage](docs/badges/badge-%3.svg)](https://coverage.example.org/%2) "
                       "[![License: MIT][license-badge]][license] "
                       "[![Chat](docs/badges/badge-%4.svg)][chat]\n\n")
            .arg(i % badges)
            .arg(i)
            .arg((i + 1) % badges)
            .arg((i + 2) % badges);
    if (i % 3 == 0)
        out += QStringLiteral("<p align=\"center\">\n  <img src=\"docs/images/screenshot-%1.png\" "
                              "alt=\"Screenshot of widget-%2\" width=\"600\">\n</p>\n\n")
                   .arg(i % screenshots)
                   .arg(i);
    out += QStringLiteral(
               "The **widget-%1** package renders *fast* widgets with `render()`; read the "
               "[documentation][docs], the [changelog][changelog] and [issue #%1][issue-%1] "
               "before you upgrade. See also https://example.org/widget-%1 and the "
               "[contributing guide][contributing] for how to send a change.\n\n")
               .arg(i);
    out += QStringLiteral("### Installation\n\n") + code(i * 3, i);
    out += QStringLiteral("### Usage\n\nStart with the client, then pick what you need:\n\n") +
           code(i * 3 + 1, i);
    out += QStringLiteral("| Option | Type | Default | Description |\n|:--|:-:|--:|---|\n");
    const char* const options[] = {"timeout", "retries", "endpoint", "theme", "cache", "verbose"};
    for (int row = 0; row < 6; ++row)
        out += QStringLiteral("| `%1` | %2 | `%3` | Sets the %1, see [the guide](https://"
                              "example.org/guide/%4#%1) and [docs] |\n")
                   .arg(QLatin1String(options[row]))
                   .arg(row % 2 ? QStringLiteral("number") : QStringLiteral("string"))
                   .arg(row * i % 1000)
                   .arg(i);
    out += QStringLiteral("\n### Features\n\n"
                          "- Rendering\n"
                          "  - Fast [layout](https://example.org/layout/%1) with `cache: true`\n"
                          "    - nested caches per **theme**\n"
                          "    - [x] measured in the benchmarks\n"
                          "  - Themes: *light*, *dark* and ~~sepia~~\n"
                          "- Networking\n"
                          "  1. Retries with back-off\n"
                          "  2. Time-outs per request, see [issue-%1]\n"
                          "- [ ] Offline mode ([tracking issue][issue-%1])\n\n")
               .arg(i);
    out += QStringLiteral("<details>\n<summary>More examples for widget-%1</summary>\n\n").arg(i) +
           code(i * 3 + 2, i) + QStringLiteral("</details>\n\n");
    out += QStringLiteral("> **Note**\n> Version 1.%1 changed the default `retries`; "
                          "see the [migration notes][docs].\n\n")
               .arg(i % 97);
    out += QStringLiteral("1. Clone the repository\n2. Run the tests:\n\n   ```sh\n   make test\n"
                          "   ```\n\n3. Open a pull request\n\n");
    out +=
        QStringLiteral("[issue-%1]: https://example.org/widget/issues/%1 \"Issue %1\"\n\n").arg(i);
    return out;
}

} // namespace

QString ReadmeDocument::markdown(qsizetype bytes) {
    QString out;
    out.reserve(bytes + 8192);
    out += QStringLiteral(
        "<h1 align=\"center\">\n  <img src=\"docs/images/screenshot-0.png\" alt=\"Widget\" "
        "width=\"200\"><br>\n  Widget\n</h1>\n\n"
        "[![Build](docs/badges/badge-0.svg)](https://ci.example.org) "
        "[![Release](docs/badges/badge-1.svg)](https://example.org/releases)\n\n"
        "Widgets for every screen. ![Demo](docs/images/screenshot-1.png)\n\n"
        "## Contents\n\n- [Modules](#modules)\n  - [Module 0](#module-0)\n- "
        "[License](#license)\n\n");
    for (int i = 0; out.size() < bytes - 1024; ++i)
        out += section(i);
    out += QStringLiteral("## License\n\nMIT, see [license].\n\n"
                          "[docs]: https://example.org/docs \"Documentation\"\n"
                          "[changelog]: https://example.org/changelog\n"
                          "[contributing]: ./CONTRIBUTING.md\n"
                          "[license]: ./LICENSE\n"
                          "[license-badge]: docs/badges/badge-5.svg\n"
                          "[chat]: https://chat.example.org/widget\n");
    return out;
}

bool ReadmeDocument::writeImages(const QString& folder) {
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("docs/badges")) || !dir.mkpath(QStringLiteral("docs/images")))
        return false;
    for (int i = 0; i < badges; ++i) {
        QFile file(dir.filePath(QStringLiteral("docs/badges/badge-%1.svg").arg(i)));
        const QByteArray svg =
            QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"90\" height=\"20\">"
                           "<rect width=\"40\" height=\"20\" fill=\"#555\"/>"
                           "<rect x=\"40\" width=\"50\" height=\"20\" fill=\"#%1\"/>"
                           "<text x=\"6\" y=\"14\" fill=\"#fff\" font-size=\"11\">build</text>"
                           "<text x=\"46\" y=\"14\" fill=\"#fff\" font-size=\"11\">ok %2</text>"
                           "</svg>")
                .arg(QStringLiteral("4c1"), QString::number(i))
                .toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
            return false;
    }
    for (int i = 0; i < screenshots; ++i) {
        QImage image(1000, 560, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.fillRect(image.rect(), QColor::fromHsv(i * 80, 40, 240));
        for (int y = 0; y < image.height(); y += 28)
            painter.fillRect(40, y + 8, 300 + (y * 7 + i * 50) % 600, 12,
                             QColor::fromHsv(i * 80, 120, 160));
        painter.end();
        if (!image.save(dir.filePath(QStringLiteral("docs/images/screenshot-%1.png").arg(i))))
            return false;
    }
    return true;
}
