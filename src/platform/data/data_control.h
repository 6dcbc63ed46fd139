#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <vector>
#include "platform/data/recordset.h"

namespace platform {

class Database;

// The data control: a database, a connect text and a row source; Refresh runs the row source.
class DataControl {
public:
    DataControl();
    virtual ~DataControl();

    QString DatabaseName;
    QString Connect = QStringLiteral("Access 2000;");
    QString RecordSource;      // SELECT text, table or saved-query name, or "sheet$"
    int Options = 0;           // set to 1 at every bind by the windows; carries no behaviour here
    int EOFAction = 0;         // set to 2 / 0 by some windows; carries no behaviour here
    bool ReadOnly = false;     // the file is only read (an import source): never written

    // Runs the row source and replaces the rows. Throws DataError when it cannot be run;
    // then the previous rows and record set stay as they were. When the row source, the database
    // and everything the database holds are as they were at the last refresh (and the row source
    // asks for nothing that varies by itself, such as the time), the rows read then are kept and
    // the record set goes back to its first record, as a new one would.
    void Refresh();
    // The current record set; throws DataError when the control was never refreshed.
    Recordset& recordset();
    bool hasRecordset() const;
    // Hands an already opened record set to the control (and so to its bound grid).
    void setRecordset(Recordset&& rs);
    // Drops the record set and the database connection.
    void close();

    // Bound grids listen here: called after every successful refresh or setRecordset.
    void addRefreshListener(std::function<void()> f);

private:
    Recordset rs_;
    std::shared_ptr<Database> db_;
    QString readSource_;       // the row source rs_ was read from by Refresh; empty otherwise
    std::vector<std::function<void()>> listeners_;
    void notify();
};

}  // namespace platform
