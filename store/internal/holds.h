#pragma once
// Holds on records of a database file, kept as byte-range locks on a file beside it
// (the database path + "-holds"). The locks belong to the open file description, so
// each connection that opens the file holds apart from every other one, in this
// process or another, and the system drops them when the connection closes or its
// process dies: a hold never goes stale.

#include <QString>

namespace store {

class FileHolds {
public:
    explicit FileHolds(const QString &databasePath);
    ~FileHolds();
    FileHolds(const FileHolds &) = delete;
    FileHolds &operator=(const FileHolds &) = delete;

    // Takes the hold at once or returns false when another connection has it.
    // Throws StoreError when the holds file cannot be opened or locked.
    bool lock(quint32 tableKey, qint64 id);
    // Ends a hold taken by lock().
    void unlock(quint32 tableKey, qint64 id);

private:
    void openFile();

    QString m_path;
    int m_fd = -1;
};

// A stable 31-bit key for a table name, the same in every process and on every run.
quint32 tableHoldKey(const QString &tableName);

} // namespace store
