#pragma once

#include "data/FacadeClients.h"
#include "review/SearchQuery.h"
#include "ui/DialogBase.h"

#include <QList>

class CDBClass;
class CMyAdoRecordSet;
class CRichTextCtrl;
class QComboBox;
class QLabel;
class QLineEdit;

// Builds a filter over one record kind (the command id of the window that
// searches: time sheets, companies, comments or change requests) field by
// field, and runs it; each search that finds rows opens one more results
// view. The dialog owns its views and their recordsets.
class CSearchDlg : public CDialogBase, public ISearchViewFactory {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 264;
    static constexpr int kField = 1279;
    static constexpr int kJoin = 1280;
    static constexpr int kSearch = 1282;
    static constexpr int kValue = 1283;
    static constexpr int kEquate = 1284;
    static constexpr int kShowQuery = 1285;
    static constexpr int kFilter = 1289;
    static constexpr int kClear = 1293;
    static constexpr int kStatus = 1120;
    static constexpr int kAdd = 1197;
    static constexpr int kClose = 1233;

    CSearchDlg(int kind, CDBClass* db, QWidget* parent = nullptr);
    ~CSearchDlg() override;

    bool OnCommand(int id) override;

    const CSearchQuery& Query() const { return m_query; }
    QString StatusText() const;
    // The results views opened so far (owned by the dialog).
    const QList<QObject*>& Views() const { return m_views; }
    // The statement the last search ran.
    const QString& LastSearch() const { return m_lastSearch; }

    // ISearchViewFactory
    QObject* CreateSearchView(const QString& kind, const QString& text, CMyAdoRecordSet* rows,
                              QObject* parent) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    // "&Add": false when a message refused the section.
    bool CheckFilter();
    void OnClear();
    void OnShowQuery();
    void OnSearch();
    void SetStatus(const QString& text);
    // True, after telling the user, when the search cannot finish within
    // its time limit.
    bool TooLongToRun();

    int m_kind;
    CDBClass* m_db;
    CSearchQuery m_query;
    QString m_lastSearch;
    QList<CMyAdoRecordSet*> m_recordsets;
    QList<QObject*> m_views;

    QComboBox* m_field;
    QComboBox* m_equate;
    QLineEdit* m_value;
    QComboBox* m_join;
    CRichTextCtrl* m_filter;
    QLabel* m_status;
};
