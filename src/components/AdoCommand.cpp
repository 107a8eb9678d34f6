#include "components/AdoCommand.h"

#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"
#include "components/AdoSession.h"

#include <sqlite3.h>

namespace ado {

// A statement kept between executions of a prepared command, for the session it was made on.
struct Command::Prepared {
    std::weak_ptr<Session> session;
    sqlite3_stmt *statement = nullptr;

    ~Prepared() { sqlite3_finalize(statement); }
};

Command::Command() = default;
Command::~Command() = default;

void Command::setActiveConnection(Connection &connection)
{
    session_ = connection.session();
    statement_.reset();
}

void Command::setCommandText(const QString &text)
{
    if (text != text_)
        statement_.reset();
    text_ = text;
}

bool Command::execute(int options, std::unique_ptr<Recordset> *records)
{
    recordsAffected_ = 0;
    const std::shared_ptr<Session> session = session_.lock();
    if (!session) {
        error_ = {errors::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed.")};
        return false;
    }
    if (type_ != CommandType::Text) {
        error_ = {errors::InvalidArgument, QStringLiteral("Only command text is supported.")};
        return false;
    }

    sqlite3_stmt *statement = nullptr;
    std::unique_ptr<Prepared> owned;
    if (statement_ && statement_->session.lock() == session) {
        statement = statement_->statement;
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    } else {
        statement_.reset();
        statement = session->prepare(text_, error_);
        if (!statement)
            return false;
        owned = std::make_unique<Prepared>();
        owned->session = session;
        owned->statement = statement;
    }

    const int placeholders = sqlite3_bind_parameter_count(statement);
    if (placeholders != int(parameters_.size())) {
        error_ = {errors::ProviderFailure, QStringLiteral("No value given for one or more required parameters.")};
        return false;
    }
    for (int i = 0; i < placeholders; ++i) {
        const Parameter &parameter = parameters_[size_t(i)];
        const bool isText = parameter.type == DataType::VarChar || parameter.type == DataType::LongVarChar;
        if (isText && !parameter.value.isNull() && parameter.value.toString().size() > parameter.size) {
            error_ = {errors::MultipleStepError,
                      QStringLiteral("Multiple-step OLE DB operation generated errors: parameter %1 is longer than its size %2.")
                          .arg(i + 1)
                          .arg(parameter.size)};
            return false;
        }
        const QVariant value = isText && !parameter.value.isNull() ? QVariant(parameter.value.toString()) : parameter.value;
        bindValue(statement, i + 1, value);
    }

    if (!(options & ExecuteNoRecords) && records && sqlite3_column_count(statement) > 0) {
        auto recordset = std::make_unique<Recordset>();
        const bool filled = recordset->fill(session, statement);
        sqlite3_reset(statement);
        if (!filled) {
            error_ = recordset->lastError();
            return false;
        }
        *records = std::move(recordset);
        if (prepared_ && owned)
            statement_ = std::move(owned);
        error_ = {};
        return true;
    }

    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (code != SQLITE_DONE) {
        error_ = session->engineError();
        sqlite3_reset(statement);
        return false;
    }
    recordsAffected_ = sqlite3_stmt_readonly(statement) ? 0 : sqlite3_changes(session->handle());
    sqlite3_reset(statement);
    if (prepared_ && owned)
        statement_ = std::move(owned);
    error_ = {};
    return true;
}

}
