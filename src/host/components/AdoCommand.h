#pragma once

#include "components/AdoTypes.h"

#include <QVariant>

#include <memory>
#include <vector>

namespace ado {

class Connection;
class Recordset;
class Session;

// One value for a "?" placeholder, in placeholder order.
struct Parameter {
    QString name;
    DataType type = DataType::VarChar;
    ParameterDirection direction = ParameterDirection::Input;
    int size = 0;   // characters; a text longer than this fails the execution
    QVariant value;
};

// A parameterised SQL command on a connection. "SELECT @@Identity" answers the row id of the
// last insert made on that connection.
class Command {
public:
    Command();
    ~Command();
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    void setActiveConnection(Connection &connection);
    void setCommandType(CommandType type) { type_ = type; }
    void setCommandText(const QString &text);
    void setPrepared(bool prepared) { prepared_ = prepared; }
    void appendParameter(Parameter parameter) { parameters_.push_back(std::move(parameter)); }
    std::vector<Parameter> &parameters() { return parameters_; }

    // Runs the command. Without ExecuteNoRecords in the options and with `records` given, the
    // rows come back there as an open record set.
    bool execute(int options, std::unique_ptr<Recordset> *records = nullptr);
    // Rows changed by the last successful execution.
    int recordsAffected() const { return recordsAffected_; }

    const Error &lastError() const { return error_; }

private:
    std::weak_ptr<Session> session_;
    CommandType type_ = CommandType::Text;
    QString text_;
    bool prepared_ = false;
    std::vector<Parameter> parameters_;
    int recordsAffected_ = 0;
    Error error_;
    struct Prepared;
    std::unique_ptr<Prepared> statement_;
};

}
