#pragma once

#include <Platform/LocalSocket/TovikLocalProtocol.h>

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class DayvaneWindowController;
class QWidget;

// Runs the application's life: the move offer and the main window at launch, reopen and link requests
// from later processes, and the end of the process once none of its windows is visible.
class DayvaneAppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayvaneAppDelegate)
public:
    // What the delegate asks of the system, replaceable in tests.
    struct Services {
        std::function<bool()> offerMove;
        std::function<std::unique_ptr<DayvaneWindowController>()> makeMainWindow;
        std::function<void()> quit;
        // Lets the window raised next take the focus with the token another process was started with.
        std::function<void(const QByteArray &activationToken)> useActivationToken;
    };
    static Services systemServices();

    explicit DayvaneAppDelegate(Services services, QObject *parent = nullptr);
    ~DayvaneAppDelegate() override;

    // False when a moved copy is being started instead; then no window is made.
    bool launch();
    // Brings the main window forward, restored if it was minimised.
    void reopen(const QByteArray &activationToken = {});
    void openUrls(const QStringList &urls, const QByteArray &activationToken = {});
    // A request handed over by another process.
    void handleRequest(const TovikLocalProtocol::Request &request);

    DayvaneWindowController *mainWindowController() const { return m_mainWindowController.get(); }

    // Whether a window of the application that counts for staying alive is shown (menus and tooltips do not).
    static bool anyWindowVisible(const QList<QWidget *> &windows);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void quitIfNoWindowVisible();
    void useActivationToken(const QByteArray &activationToken);

    Services m_services;
    std::unique_ptr<DayvaneWindowController> m_mainWindowController;
    bool m_checkPending = false;
};
