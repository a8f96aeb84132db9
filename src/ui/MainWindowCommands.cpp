// The window's own commands: clicks in the lists, menus, tabs, the view
// toggle, and closing.
#include <QCloseEvent>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStackedWidget>
#include <QTableView>
#include <QUrl>
#include <utility>

#include "controls/CNamedBitmapButton.h"
#include "controls/CTabButton.h"
#include "core/AccountView.h"
#include "core/ProgramVersion.h"
#include "risk/SenderList.h"
#include "ui/AboutDialog.h"
#include "ui/AccountViewModel.h"
#include "ui/AdvancedPreferencesDialog.h"
#include "ui/DeletedMailDialog.h"
#include "ui/MainWindow.h"

#include "tray/TrayController.h"
#include "ui/MessageBoxes.h"
#include "ui/MessageViewModel.h"

namespace qlt::ui {

void MainWindow::connectViews() {
    connect(m_messageView, &QTableView::clicked, this, &MainWindow::onMessageClicked);
    connect(m_messageView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::onMessageRowChanged);
    // A reset replaces the selection model's state, not the model itself.
    m_messageView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_messageView, &QWidget::customContextMenuRequested, this, &MainWindow::onMessageContextMenu);
    connect(m_accountView, &QTableView::clicked, this, &MainWindow::onAccountClicked);
    connect(m_viewToggle, &QAbstractButton::clicked, this, &MainWindow::toggleView);
}

void MainWindow::setPage(Page page, QWidget* widget, std::function<void()> refreshPage) {
    const int index = static_cast<int>(page);
    QWidget* old = m_pages->widget(index);
    const bool shown = m_pages->currentIndex() == index;
    m_pages->insertWidget(index, widget);
    m_pages->removeWidget(old);
    old->deleteLater();
    if (shown) m_pages->setCurrentIndex(index);
    m_pageRefresh[static_cast<std::size_t>(index)] = std::move(refreshPage);
}

void MainWindow::startUpRequest() {
    m_tray->startUp();
    // A first run starts where the first account is made.
    showTab(m_checker->GetAccountCount() > 0 ? command::kTabPreview : command::kTabAccounts);
}

void MainWindow::showTab(int tabId) {
    if (tabId == m_selectedTab || tabId < command::kTabPreview || tabId > command::kTabOptions) return;
    const int index = tabId - command::kTabPreview;
    m_pages->setCurrentIndex(index);
    for (controls::CTabButton* tab : m_tabs) tab->setSelected(tab->commandId() == tabId);
    m_selectedTab = tabId;
}

void MainWindow::toggleView() {
    if (m_accountViewShown) {
        m_viewToggle->loadBitmaps("ACTU", "ACTD", QString(), "ACTX");
        m_checker->fillMessageView();
        m_messageView->show();
        m_messageView->setEnabled(true);
        m_accountView->hide();
        m_accountView->setEnabled(false);
    } else {
        m_viewToggle->loadBitmaps("ACBU", "ACTD", QString(), "ACTX");
        m_checker->RefillAccountList();
        m_accountView->show();
        m_accountView->setEnabled(true);
        m_messageView->hide();
        m_messageView->setEnabled(false);
    }
    m_accountViewShown = !m_accountViewShown;
}

// --- The lists ----------------------------------------------------------------------------------------

void MainWindow::onMessageRowChanged() {
    if (m_syncingSelection) return;
    const QModelIndexList rows = m_messageView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        m_checker->selectRow(std::nullopt);
    else
        m_checker->selectRow(static_cast<std::size_t>(rows.first().row()));
}

void MainWindow::onMessageClicked(const QModelIndex& index) {
    if (!index.isValid()) return;
    onMessageRowChanged();
    // The envelope column holds nothing but the icon: a click there is a
    // click on the icon.
    if (index.column() == kColumnState) m_checker->toggleRowState(static_cast<std::size_t>(index.row()));
}

void MainWindow::onAccountClicked(const QModelIndex& index) {
    if (!index.isValid()) return;
    if (index.column() == kAccountColumnState)
        m_checker->toggleAccountInclude(index.row());
    else
        m_checker->chooseAccount(index.row());
}

void MainWindow::prepareContextMenu() {
    const bool selected = m_checker->view().selectedRow().has_value();
    const bool rows = m_checker->view().rowCount() > 0;
    for (int id : {command::kContextBlackList, command::kContextWhiteList, command::kContextRemove})
        m_actions.value(id)->setEnabled(selected);
    for (int id : {command::kContextTagAll, command::kContextUntagAll}) m_actions.value(id)->setEnabled(rows);
}

void MainWindow::onMessageContextMenu(const QPoint& at) {
    onMessageRowChanged();
    prepareContextMenu();
    m_contextMenu->popup(m_messageView->viewport()->mapToGlobal(at));
}

void MainWindow::listAsFoe() {
    m_checker->listSelectedSender(kSenderFoe);
}

void MainWindow::listAsFriend() {
    m_checker->listSelectedSender(kSenderFriend);
}

void MainWindow::unlistSender() {
    m_checker->unlistSelectedSender();
}

void MainWindow::tagAll() {
    m_checker->tagAll();
}

void MainWindow::untagAll() {
    m_checker->untagAll();
}

// --- Menus ----------------------------------------------------------------------------------------------

void MainWindow::scanFromMenu() {
    m_checker->startScan(ScanStart::Menu);
}

void MainWindow::deleteTagged() {
    m_checker->deleteTagged();
    if (!std::exchange(m_closeAfterDelete, false)) return;
    closeMainWindow();
}

void MainWindow::undoDelete() {
    m_checker->endUndoWait(UndoEnd::Undo);
}

bool MainWindow::endsUndoWait() {
    return m_checker->endUndoWait(UndoEnd::Commit);
}

void MainWindow::analyzeSelected() {
    m_checker->analyzeSelected();
}

void MainWindow::dumpSelected() {
    m_checker->dumpSelected();
}

void MainWindow::showErrorDetails() {
    m_checker->showErrorDetails();
    updateErrorDetailsItem();
}

void MainWindow::updateErrorDetailsItem() {
    m_actions.value(command::kMenuErrorDetails)->setEnabled(!m_checker->client().m_strError.empty());
}

void MainWindow::hideWindow() {
    m_tray->hideToTray();
}

void MainWindow::runSetup() {
    if (endsUndoWait()) return;
    DialogBoxes boxes(m_services.boxes, this);
    AdvancedPreferencesDialog dialog(m_checker->settings(), boxes, m_services.files,
                                     m_services.dataFiles.dictionary.userStrings, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_checker->settings() = dialog.settings();
    if (!accepted) return;
    m_messageModel->setIconStyle(m_checker->settings().defaultTag);
    m_checker->fillMessageView();
}

void MainWindow::openManual() {
    if (m_services.manualFile.isEmpty() ||
        !QDesktopServices::openUrl(QUrl::fromLocalFile(m_services.manualFile)))
        messageBox("Quillgate", "The manual could not be opened.\n", BoxIcon::Warning, BoxButtons::Ok);
}

void MainWindow::showDeletedMail() {
    if (endsUndoWait()) return;
    DeletedMailDialog dialog(DeletionLog(m_services.dataFiles.deletionLog).read(), this);
    dialog.exec();
}

void MainWindow::showAbout() {
    if (endsUndoWait()) return;
    AboutDialog(programBuildText(), this).exec();
}

// --- Closing --------------------------------------------------------------------------------------------

void MainWindow::closeMainWindow() {
    // During a delete's undo wait the delete goes on at once, and the window
    // closes after it.
    if (m_checker->endUndoWait(UndoEnd::Commit)) {
        m_closeAfterDelete = true;
        return;
    }
    // The scan is on the stack below this call; ending the window under it
    // would pull its front end away. STOP first.
    if (m_checker->scanRunning()) return;
    m_checker->SaveAccounts();
    m_closing = true;
    done(QDialog::Accepted);
}

void MainWindow::reject() {
    closeMainWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) return QDialog::closeEvent(event);
    event->ignore();
    closeMainWindow();
}

}  // namespace qlt::ui
