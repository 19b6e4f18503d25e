#pragma once

#include "params/parameterreads.h"

#include <QDialog>
#include <QHash>

class ParameterSender;
class ProgramContext;
class QLineEdit;
class TFReserv;
class TFSS;

// "Параметры ТЕЛВ": shows the station's parameter set, lets the operator edit it,
// decode the service word and the reserve byte, and send one group or all of it.
// Created once; each opening fills every control from the set again.
class TFParam final : public QDialog
{
    Q_OBJECT
public:
    explicit TFParam(ProgramContext &context, QWidget *parent = nullptr);
    ~TFParam() override;

    // Groups edited and not yet sent (see ChangedGroups).
    quint16 changedGroups() const;

    // The window's texts by edit name, as the read operations take them.
    EditTexts texts() const;

    void done(int result) override;

Q_SIGNALS:
    // The window was shown, and it was closed after its closing work.
    void opened();
    void closed();
    // The service word in the set was replaced from the window: show it.
    void serviceWordEdited();
    // MvSensitivityCheckAllowed was set in the service word dialog.
    void sensitivityCheckChanged();
    // Whether the four functions reserved for the holder of the access code are open.
    void accessItemsAllowed(bool allowed);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    QLineEdit *edit(const char *name) const;

    void FormShow();
    void FormClose();
    void MaskEdit2Change(QLineEdit *edit, const ParameterEdit &info);
    void SpeedButton1Click(int group);
    void BitBtn2Click();
    void BitBtn3Click();

    ProgramContext &m_context;
    ParameterSender *m_sender = nullptr;
    QHash<QString, QLineEdit *> m_edits;
    // The service word edit's text as last accepted: a typed digit outside its
    // position's range is refused and the edit goes back to it.
    QString m_serviceWord;
    TFSS *m_serviceWordDialog = nullptr;
    TFReserv *m_reserveDialog = nullptr;
};
