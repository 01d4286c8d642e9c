#include "DayvaneCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const QString helpText = QStringLiteral(
    "Usage: dayvane [options] [url...]\n"
    "Calendar, clock and stopwatch. dayvane://calendar, dayvane://clock and dayvane://stopwatch open that\n"
    "page in its mini window; a Dayvane already running takes the URLs of any later start.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Print this help and exit.\n"
    "  -v, --version  Print the version and exit.\n");

} // namespace

DayvaneCommandLine DayvaneCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    parser.addOption(help);
    parser.addOption(version);
    DayvaneCommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.action = Action::fail;
        commandLine.text = QStringLiteral("dayvane: %1\n%2").arg(parser.errorText(), helpText);
    } else if (parser.isSet(help)) {
        commandLine.action = Action::showHelp;
        commandLine.text = helpText;
    } else if (parser.isSet(version)) {
        commandLine.action = Action::showVersion;
        commandLine.text = QStringLiteral("dayvane " DAYVANE_VERSION "\n");
    } else {
        for (const QString &url : parser.positionalArguments()) {
            if (!url.isEmpty()) {
                commandLine.urls.append(url);
            }
        }
    }
    return commandLine;
}

TovikLocalProtocol::Request DayvaneCommandLine::request(const QByteArray &activationToken) const
{
    TovikLocalProtocol::Request request{urls.isEmpty() ? TovikLocalProtocol::Kind::reopen
                                                       : TovikLocalProtocol::Kind::open,
                                        {},
                                        activationToken.toStdString()};
    for (const QString &url : urls) {
        request.arguments.push_back(url.toStdString());
    }
    return request;
}
