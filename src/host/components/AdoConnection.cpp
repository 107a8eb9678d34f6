#include "components/AdoConnection.h"

#include "components/AdoRecordset.h"
#include "components/AdoSession.h"

namespace ado {

Connection::Connection() = default;
Connection::~Connection() = default;

bool Connection::open(const QString &, const QString &, int)
{
    if (session_) {
        error_ = Error::of(errors::ObjectOpen);
        return false;
    }
    std::unique_ptr<Session> session = Session::open(dataSourceOf(connectionString_), error_);
    if (!session)
        return false;
    session_ = std::move(session);
    if ((schemaCheck_ && !schemaCheck_(*this, error_)) || !session_->finishOpen(checkPace_, error_)) {
        session_.reset();
        return false;
    }
    return true;
}

bool Connection::close()
{
    if (!session_) {
        error_ = Error::of(errors::ObjectClosed);
        return false;
    }
    session_.reset();
    error_ = {};
    return true;
}

bool Connection::isOpen() const
{
    return session_ != nullptr;
}

bool Connection::execute(const QString &sql)
{
    if (!session_) {
        error_ = Error::of(errors::ObjectClosed);
        return false;
    }
    return session_->exec(sql, error_);
}

bool Connection::beginTrans()
{
    return execute(QStringLiteral("BEGIN"));
}

bool Connection::commitTrans()
{
    return execute(QStringLiteral("COMMIT"));
}

bool Connection::rollbackTrans()
{
    return execute(QStringLiteral("ROLLBACK"));
}

}
