// quenara-demo <xdg-data-home-folder> [--seed N] [--stocks N]
// Fills <folder>/Vostrel/ with demo databases and price workbooks; then run the program with
// XDG_DATA_HOME=<folder>.
#include "demo/demo_data.h"
#include "platform/data/errors.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: quenara-demo <xdg-data-home-folder> [--seed N] [--stocks N]\n");
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
        if (a == QLatin1String("--seed") || a == QLatin1String("--stocks")) {
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
        std::printf("%s: %d priced stocks, %d cards, %d price workbooks\n", qPrintable(s.folder), s.stocks, s.cards,
                    s.workbooks);
    } catch (const platform::DataError& e) {
        std::fprintf(stderr, "quenara-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
