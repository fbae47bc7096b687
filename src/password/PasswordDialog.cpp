#include "password/PasswordDialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>

#include "platform/vb/VbError.h"

namespace password {

PasswordDialog::PasswordDialog(const std::vector<QString>& labels)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setWindowTitle(kCaption);
    auto* grid = new QGridLayout(this);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9.75);
    for (const QString& text : labels) {
        auto* label = new QLabel(text, this);
        label->setFont(arial);
        auto* field = new QLineEdit(this);
        field->setEchoMode(QLineEdit::Password);
        field->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
        const int row = int(lblLabels.size());
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        lblLabels.push_back(label);
        fields_.push_back(field);
    }
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, int(labels.size()), 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, [this] { vb::ResumeNext([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { vb::ResumeNext([this] { cmdCancel_Click(); }); });
}

void PasswordDialog::SelectAgain(QLineEdit& field) {
    field.setFocus();
    field.home(false);
    field.end(true);
}

bool PasswordDialog::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        activated_ = false;
        break;
    case QEvent::WindowActivate:
        // A message box of its own that closes gives the activation back; that is no new showing.
        if (!activated_) {
            activated_ = true;
            vb::ResumeNext([this] { Form_Activate(); });
        }
        break;
    default:
        break;
    }
    return QDialog::event(event);
}

void PasswordDialog::reject() { vb::ResumeNext([this] { cmdCancel_Click(); }); }

}  // namespace password
