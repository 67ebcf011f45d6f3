#pragma once
// The register window's navigator over a texts table: eighteen buttons in
// their order with their Portuguese hints, repeating after 500 ms, then every
// 100 ms.
#include "library/dataset/wwtable.h"
#include "library/wwdbnavigator.h"
#include "library/wwnavbutton.h"
#include "tests/library/textsfixture.h"

#include <QTest>

#include <set>
#include <utility>

class NavigatorFixture : public TextsFixture {
protected:
    void makeNavigator()
    {
        nav = new TwwDBNavigator(&window);
        nav->setObjectName(QStringLiteral("wwDBNavigator1"));
        nav->setRepeatInterval({500, 100});
        for (const auto& [style, name, hint] : registerButtons())
            nav->addButton(style, QStringLiteral("wwDBNavigator1") + QString::fromLatin1(name),
                           QString::fromUtf8(hint));
        nav->setDataSource(source);
        window.show();  // a hidden widget hears of its resizing only when shown
    }
    struct ButtonRow {
        TwwNavButtonStyle style;
        const char* name;
        const char* hint;
    };
    static std::vector<ButtonRow> registerButtons()
    {
        return {{nbsFirst, "First", "Move para 1º Registro"},
                {nbsPriorPage, "PriorPage", "Retorna 10 registros"},
                {nbsPrior, "Prior", "Registro anterior"},
                {nbsNext, "Next", "Próximo Registro"},
                {nbsNextPage, "NextPage", "Avança 10 registros"},
                {nbsLast, "Last", "Move para último Registro"},
                {nbsInsert, "Insert", "Insere um novo registro"},
                {nbsEdit, "Edit", "Altera o registro corrente"},
                {nbsPost, "Post", "Grava registro"},
                {nbsDelete, "Delete", "Deleta o registro corrente"},
                {nbsCancel, "Cancel", "Cancela a modificação feita"},
                {nbsRefresh, "Refresh", "Atualiza apresentação dos registros"},
                {nbsSaveBookmark, "SaveBookmark", "Salva em memória registro corrente"},
                {nbsRestoreBookmark, "RestoreBookmark", "Retorna a posição do registro salvo"},
                {nbsFilterDialog, "FilterDialog", "Filtra o Arquivo"},
                {nbsRecordViewDialog, "RecordViewDialog", "Visualiza o registro corrente"},
                {nbsLocateDialog, "LocateDialog", "Localiza o registro específico"},
                {nbsSearchDialog, "SearchDialog", "Procura no arquivo"}};
    }
    TwwNavButton* button(TwwNavButtonStyle style) const { return nav->Buttons().find(style); }
    std::set<int> enabledStyles() const
    {
        std::set<int> out;
        for (TwwNavButton* b : nav->Buttons())
            if (b->Enabled())
                out.insert(int(b->Style()));
        return out;
    }
    static std::set<int> styles(std::initializer_list<TwwNavButtonStyle> list)
    {
        std::set<int> out;
        for (TwwNavButtonStyle s : list)
            out.insert(int(s));
        return out;
    }
    // A press and release over the button, as the user clicks it.
    void clickButton(TwwNavButtonStyle style) { QTest::mouseClick(button(style), Qt::LeftButton); }

    TwwDBNavigator* nav = nullptr;
};
