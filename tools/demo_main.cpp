// quenara-demo <xdg-data-home-folder> [--fresh] [--seed N] [--stocks N]
// Makes <folder>/Vostrel/ a demo program folder (databases and price workbooks); then run the
// program with XDG_DATA_HOME=<folder>. A folder that holds the program's data already is left as
// it is; --fresh replaces the files of the earlier demo there and nothing else.
#include "demo/demo_data.h"
#include "platform/data/errors.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: quenara-demo <xdg-data-home-folder> [--fresh] [--seed N] [--stocks N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString folder;
    demo::Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--fresh")) {
            options.fresh = true;
        } else if (a == QLatin1String("--seed") || a == QLatin1String("--stocks")) {
            bool ok = false;
            const long long n = i + 1 < args.size() ? args[i + 1].toLongLong(&ok) : 0;
            if (!ok || n < 0 || n > 1000000)
                return usage();
            if (a == QLatin1String("--seed"))
                options.seed = std::uint32_t(n);
            else
                options.totalStocks = int(n);
            ++i;
        } else if (folder.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            folder = a;
        } else {
            return usage();
        }
    }
    if (folder.isEmpty())
        return usage();
    try {
        const demo::Summary s = demo::generate(folder, options);
        if (!s.made) {
            std::printf("%s already holds the program's data: nothing changed (--fresh makes a new demo there, "
                        "replacing only the files the earlier demo made)\n",
                        qPrintable(s.folder));
            return 0;
        }
        if (!s.removed.isEmpty())
            std::printf("removed the earlier demo's %s\n", qPrintable(s.removed.join(QStringLiteral(", "))));
        if (!s.kept.isEmpty())
            std::printf("kept %s (changed since the earlier demo made it)\n", qPrintable(s.kept.join(QStringLiteral(", "))));
        std::printf("%s: %d priced stocks, %d cards, %d price workbooks\n", qPrintable(s.folder), s.stocks, s.cards,
                    s.workbooks);
    } catch (const platform::DataError& e) {
        std::fprintf(stderr, "quenara-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
