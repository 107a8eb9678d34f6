#include "components/AdoCommand.h"

#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"
#include "components/AdoSession.h"

namespace ado {

// A statement kept between executions of a prepared command, for the session it was made on.
struct Command::Prepared {
    std::weak_ptr<Session> session;
    Statement statement;
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
        error_ = Error::of(errors::ObjectClosed);
        return false;
    }
    if (type_ != CommandType::Text) {
        error_ = Error::of(errors::InvalidArgument);
        return false;
    }

    // The statement kept from the last execution, or a new one that is kept after this one
    // when the command is prepared.
    std::unique_ptr<Prepared> made;
    if (!statement_ || statement_->session.lock() != session) {
        statement_.reset();
        Statement statement = session->prepare(text_, error_);
        if (!statement)
            return false;
        made = std::make_unique<Prepared>(Prepared{session, std::move(statement)});
    }
    sqlite3_stmt *statement = made ? made->statement.get() : statement_->statement.get();
    session->rewind(statement);
    const auto keep = [&] {
        if (prepared_ && made)
            statement_ = std::move(made);
    };

    const int placeholders = session->placeholderCount(statement);
    if (placeholders != int(parameters_.size())) {
        error_ = {errors::ProviderFailure, QStringLiteral("No value given for one or more required parameters.")};
        return false;
    }
    for (int i = 0; i < placeholders; ++i) {
        const Parameter &parameter = parameters_[size_t(i)];
        const bool isText = parameter.type == DataType::VarChar || parameter.type == DataType::LongVarChar;
        if (isText && !parameter.value.isNull() && parameter.value.toString().size() > parameter.size) {
            error_ = Error::of(errors::MultipleStepError);
            error_.description += QStringLiteral(" Parameter %1 is longer than its size %2.").arg(i + 1).arg(parameter.size);
            return false;
        }
        const QVariant value = isText && !parameter.value.isNull() ? QVariant(parameter.value.toString()) : parameter.value;
        session->bind(statement, i + 1, value);
    }

    if (!(options & ExecuteNoRecords) && records && session->returnsRows(statement)) {
        auto recordset = std::make_unique<Recordset>();
        const bool filled = recordset->fill(session, statement);
        session->rewind(statement);
        if (!filled) {
            error_ = recordset->lastError();
            return false;
        }
        *records = std::move(recordset);
        keep();
        error_ = {};
        return true;
    }

    Step step;
    while ((step = session->step(statement, error_)) == Step::Row) {
    }
    if (step == Step::Failed) {
        session->rewind(statement);
        return false;
    }
    recordsAffected_ = session->isReadOnly(statement) ? 0 : session->changes();
    session->rewind(statement);
    keep();
    error_ = {};
    return true;
}

}
