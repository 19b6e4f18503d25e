#include "records/windows/registereditors.h"

#include "records/tableeditmodel.h"
#include "shared/operatormessages.h"
#include "widgets/recordgrid.h"
#include "widgets/recordnavigator.h"

#include <QHeaderView>

RegisterEditors CreateRegisterEditors(
    TableEditModel &model, OperatorMessages &messages, QWidget *window)
{
    RegisterEditors editors;
    editors.navigator = new RecordNavigator(model, messages, window);
    editors.navigator->setObjectName(QStringLiteral("DBNavigator1"));

    RecordGrid *grid = new RecordGrid(window);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setEditModel(&model);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    editors.grid = grid;

    QObject::connect(grid, &RecordGrid::failed, window,
        [&messages](const QString &text) { messages.showError(text); });
    RecordNavigator *navigator = editors.navigator;
    QObject::connect(grid, &RecordGrid::deleteRequested, window,
        [navigator] { navigator->click(RecordNavigator::Delete); });
    QObject::connect(
        navigator, &RecordNavigator::inserted, grid, &RecordGrid::editCurrentRowFromStart);
    return editors;
}

bool FinishRowInEdit(TableEditModel &model, OperatorMessages &messages)
{
    if (!model.isEditing()) {
        return true;
    }
    switch (messages.ask(
        QStringLiteral("Редактирование строки не завершено. Сохранить изменения?"), true)) {
    case OperatorMessages::Answer::Yes:
        if (!model.post()) {
            messages.showError(model.errorText());
            return false;
        }
        return true;
    case OperatorMessages::Answer::No:
        model.cancel();
        return true;
    case OperatorMessages::Answer::Cancel:
        break;
    }
    return false;
}
