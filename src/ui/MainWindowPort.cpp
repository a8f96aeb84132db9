// What the window answers when the mail checker calls on it: boxes,
// progress, pumps, buttons, choosers, and reading back the parts it changed.
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>

#include "controls/BitmapArt.h"
#include "controls/CBitmapLamp.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatCheck.h"
#include "controls/CTextProgress.h"
#include "controls/ControlStyle.h"
#include "core/ProgressCaptions.h"
#include "ui/AccountViewModel.h"
#include "ui/EnterPasswordDialog.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/MessageViewModel.h"
#include "ui/PaintPump.h"

namespace qlt::ui {

namespace {

controls::ProgressLook progressLook(const ProgressColours& colours) {
    controls::ProgressLook look;
    look.bar = controls::fromColorRef(colours.bar);
    look.track = controls::fromColorRef(colours.track);
    look.text = controls::fromColorRef(colours.text);
    look.back = controls::fromColorRef(colours.back);
    return look;
}

// "Name (pattern)|pattern|...||": pairs of a label and its patterns.
QList<FileFilter> filterList(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QList<FileFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        filters.append({parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')), false});
    return filters;
}

QString chooserFilter(const QList<FileFilter>& filters) {
    QStringList entries;
    for (const FileFilter& f : filters)
        entries << (f.label.contains(QLatin1Char('(')) ? f.label : f.label + " (" + f.patterns + ")");
    return entries.join(QStringLiteral(";;"));
}

}  // namespace

// --- Boxes, progress and pumps --------------------------------------------------------------------

BoxAnswer MainWindow::messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) {
    return m_services.boxes.showBox(title, text, icon, buttons, isVisible() ? this : nullptr);
}

void MainWindow::progress(int code, long value) {
    const MailboxTotals totals{m_checker->client().m_nMessages, m_checker->client().m_nMailboxSize};
    const auto effect = DescribeProgress(code, value, totals);
    if (!effect) return;
    if (effect->phase)
        m_progress->Init(QString::fromStdString(effect->phase->name), progressLook(effect->phase->colours));
    if (effect->caption) m_progress->SetText(QString::fromStdString(*effect->caption));
    if (effect->rangeMax) m_progress->SetRange(*effect->rangeMax);
    if (effect->position) m_progress->SetPos(*effect->position);
}

void MainWindow::pumpPaint() {
    pumpPaintOnly();
}

void MainWindow::pumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MainWindow::progressCaption(const std::string& caption) {
    m_progress->SetText(QString::fromStdString(caption));
}

void MainWindow::setWaitCursor(bool on) {
    if (on) {
        ++m_waitDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitDepth > 0) {
        --m_waitDepth;
        QApplication::restoreOverrideCursor();
    }
}

// --- Buttons ----------------------------------------------------------------------------------------

controls::CFaceButton* MainWindow::commandButton(CommandButton button) const {
    return m_buttons.value(static_cast<int>(button));
}

void MainWindow::setButtonFace(CommandButton button, ButtonFace face) {
    controls::CFaceButton* target = commandButton(button);
    if (target == nullptr) return;
    // SCAN glows while a scan runs; the others just stay down.
    if (button == CommandButton::Scan)
        target->setLook(face == ButtonFace::Pressed ? controls::bitmap::kFaceActive
                                                    : controls::bitmap::kFaceNormal);
    else
        target->setDown(face == ButtonFace::Pressed);
    target->repaint();
}

void MainWindow::setButtonText(CommandButton button, const std::string& text) {
    if (controls::CFaceButton* target = commandButton(button)) {
        target->setCaption(QString::fromStdString(text));
        target->repaint();
    }
}

void MainWindow::setButtonEnabled(CommandButton button, bool enabled) {
    if (controls::CFaceButton* target = commandButton(button)) target->setEnabled(enabled);
    if (button == CommandButton::Close) m_actions.value(command::kMenuExit)->setEnabled(enabled);
}

// --- Reading the checker's state --------------------------------------------------------------------

void MainWindow::refresh(ViewPart part) {
    switch (part) {
        case ViewPart::MessageView:
            return showMessageRows();
        case ViewPart::AccountView:
            return showAccountRows();
        case ViewPart::CommandState:
            return showCommandState();
        case ViewPart::Toggles:
            return showToggles();
        case ViewPart::RiskLamps:
            return showRiskLamps();
        case ViewPart::HeaderLine:
            return showHeaderLine();
        case ViewPart::StatusTexts:
            return showStatusTexts();
        case ViewPart::Pages:
            return refreshPages({Page::Preview, Page::Headers, Page::Details});
    }
}

void MainWindow::showMessageRows() {
    m_messageModel->reload();
    const auto selected = m_checker->view().selectedRow();
    m_syncingSelection = true;
    if (selected)
        m_messageView->selectRow(static_cast<int>(*selected));
    else
        m_messageView->clearSelection();
    m_syncingSelection = false;
    const bool rows = m_checker->view().rowCount() > 0;
    m_actions.value(command::kMenuTagAll)->setEnabled(rows);
    m_actions.value(command::kMenuUntagAll)->setEnabled(rows);
}

void MainWindow::showAccountRows() {
    m_accountModel->reload();
    const int current = m_checker->accounts().currentAccountNumber;
    if (current >= 1 && current <= m_checker->GetAccountCount()) m_accountView->selectRow(current - 1);
    refreshPages({Page::Accounts});
}

void MainWindow::showCommandState() {
    const CommandState& state = m_checker->commandState();
    for (CommandButton button :
         {CommandButton::Dump, CommandButton::Analyze, CommandButton::Delete, CommandButton::GetMail})
        commandButton(button)->setEnabled(state.messageCommandsEnabled);
    for (int id : {command::kMenuDelete, command::kMenuAnalyze, command::kMenuDump})
        m_actions.value(id)->setEnabled(state.messageCommandsEnabled);
    m_showAll->setEnabled(state.showAllEnabled);
    m_showAll->setState(state.showAllChecked ? 1 : 0);
    // Every command ends here, and a failed one is what leaves details behind.
    updateErrorDetailsItem();
    m_firstRunNote->setVisible(m_checker->GetAccountCount() <= 0);
}

void MainWindow::showToggles() {
    m_showAll->setState(m_checker->showAll() ? 1 : 0);
    m_rescan->setState(m_checker->forceRescan() ? 1 : 0);
    m_scanAll->setState(m_checker->scanAll() ? 1 : 0);
}

void MainWindow::showRiskLamps() {
    const RiskLamps& lamps = m_checker->riskLamps();
    for (std::size_t i = 0; i < m_lamps.size(); ++i)
        m_lamps[i]->setBitmap(controls::riskLampBitmap(lamps.lamp[i]));
}

void MainWindow::showHeaderLine() {
    const auto& line = m_checker->headerLine();
    m_header->setVisible(line.has_value());
    if (!line) return;
    const std::array<const std::string*, 5> texts = {&line->accountName, &line->status, &line->messageCount,
                                                     &line->lastScanned, &line->linkSpeed};
    for (std::size_t i = 0; i < texts.size(); ++i)
        m_headerTexts[i]->setText(QString::fromStdString(*texts[i]));
}

void MainWindow::showStatusTexts() {
    m_countText->setText(QString::fromStdString(m_checker->countText()));
    m_positionText->setText(QString::fromStdString(m_checker->positionText()));
}

void MainWindow::refreshPages(std::initializer_list<Page> pages) {
    for (Page page : pages) {
        const auto& refreshPage = m_pageRefresh[static_cast<std::size_t>(page)];
        if (refreshPage) refreshPage();
    }
}

void MainWindow::showMessageView() {
    if (m_accountViewShown) toggleView();
}

// --- Tray, password and choosers -----------------------------------------------------------------------

void MainWindow::setTrayTip(const std::string& tip) {
    if (trayTipHook) trayTipHook(tip);
}

void MainWindow::setTrayIcon(int iconId) {
    if (trayIconHook) trayIconHook(iconId);
}

std::optional<Credentials> MainWindow::askPassword(const std::string& userName) {
    DialogBoxes boxes(m_services.boxes, this);
    EnterPasswordDialog dialog(QString::fromStdString(userName), boxes, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Credentials{dialog.userName(), dialog.password()};
}

std::optional<std::string> MainWindow::chooseFile(const FileRequest& request) {
    const QString title = QString::fromStdString(request.title);
    const QList<FileFilter> filters = filterList(request.filter);
    if (request.mode == FileRequest::Mode::Open) {
        OpenFileRequest open{title, QString::fromStdString(request.suggestedName), filters};
        const auto chosen = m_services.files.chooseOpenFile(open, this);
        if (!chosen) return std::nullopt;
        return chosen->toStdString();
    }
    QFileDialog dialog(this, title, QString(), chooserFilter(filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QString::fromStdString(request.suggestedName));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

// --- WindowGeometry -----------------------------------------------------------------------------------

WindowGeometry::Rect MainWindow::windowRect() const {
    const QRect r = frameGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void MainWindow::moveTopLeft(std::int32_t x, std::int32_t y) {
    move(x, y);
}

WindowGeometry::Size MainWindow::screenSize() const {
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (shown == nullptr) return {};
    const QSize size = shown->virtualSize();
    return {size.width(), size.height()};
}

}  // namespace qlt::ui
