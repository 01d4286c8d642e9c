#include "DayvaneCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const QString helpText = QStringLiteral(
    "用法：dayvane [选项] [链接…]\n"
    "日历、时钟和计时器。dayvane://calendar、dayvane://clock 和 dayvane://stopwatch 在小窗中打开对应页面；\n"
    "已在运行的 Dayvane 会接收之后每次启动给出的链接。\n"
    "\n"
    "选项：\n"
    "  -h, --help                  显示此帮助后退出。\n"
    "  -v, --version               显示版本后退出。\n"
    "      --check-holidays 文件   检查一个节假日安排文件（YEAR.json）并给出结论；可以采用时退出码为 0，否则为 1。\n");

} // namespace

DayvaneCommandLine DayvaneCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption checkHolidays(QStringLiteral("check-holidays"), {}, QStringLiteral("file"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(checkHolidays);
    DayvaneCommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.action = Action::fail;
        // Qt's own error texts are English; the program speaks Chinese.
        const QStringList unknown = parser.unknownOptionNames();
        const QString reason = unknown.isEmpty() ? QStringLiteral("--check-holidays 需要一个文件")
                                                 : QStringLiteral("未知的选项 %1").arg(unknown.first());
        commandLine.text = QStringLiteral("dayvane: %1\n%2").arg(reason, helpText);
    } else if (parser.isSet(help)) {
        commandLine.action = Action::showHelp;
        commandLine.text = helpText;
    } else if (parser.isSet(version)) {
        commandLine.action = Action::showVersion;
        commandLine.text = QStringLiteral("dayvane " DAYVANE_VERSION "\n");
    } else if (parser.isSet(checkHolidays)) {
        commandLine.action = Action::checkHolidays;
        commandLine.holidayFile = parser.value(checkHolidays);
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
