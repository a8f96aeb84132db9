#include "tray/TrayController.h"
#include "ui/AccountsPage.h"
#include "ui/DetailsPage.h"
#include "ui/HeadersPage.h"
#include "ui/MainWindow.h"
#include "ui/PreviewPage.h"
#include "ui/SetupPage.h"

namespace qlt::ui {

namespace {

template <class PageWidget>
std::function<void()> refresherOf(PageWidget* page) {
    return [page] { page->refreshPage(); };
}

}  // namespace

void MainWindow::installPages() {
    auto* preview = new PreviewPage(*m_checker, *this);
    auto* headers = new HeadersPage(*m_checker, *this);
    auto* details = new DetailsPage(*m_checker, *this);
    auto* accounts = new AccountsPage(*m_checker, *this);
    setPage(Page::Preview, preview, refresherOf(preview));
    setPage(Page::Headers, headers, refresherOf(headers));
    setPage(Page::Details, details, refresherOf(details));
    setPage(Page::Accounts, accounts, refresherOf(accounts));
    // The Setup page reads its values each time it is shown; a second read
    // would repeat its interval message.
    setPage(Page::Options, new SetupPage(*m_checker, *this, m_sound), nullptr);
}

void MainWindow::installTray() {
    m_tray = new tray::TrayController(*m_checker, *this, m_countdown, m_sound, m_network, this);
    m_tray->setObjectName(QStringLiteral("trayController"));
    connect(m_tray, &tray::TrayController::exitRequested, this, &MainWindow::closeMainWindow);
    trayTipHook = [this](const std::string& tip) { m_tray->setTrayTip(tip); };
    trayIconHook = [this](int iconId) { m_tray->setTrayIcon(iconId); };
}

bool MainWindow::askTrustCertificate(const std::string& accountName, const std::string& reason,
                                     const std::string& fingerprint) {
    const std::string text = "The secure connection of \"" + accountName + "\" cannot be verified.\n\n" +
                             reason + "\n\nCertificate SHA-256 fingerprint:\n" + fingerprint +
                             "\n\nTrust exactly this certificate for this account from now on?\n";
    return messageBox("QLT Untrusted Certificate", text, BoxIcon::Warning, BoxButtons::YesNo) ==
           BoxAnswer::Yes;
}

}  // namespace qlt::ui
