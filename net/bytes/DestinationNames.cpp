#include "net/bytes/DestinationNames.h"

DestinationNameColumns SplitDestinationName(const std::string& computerName, const std::string& email)
{
    DestinationNameColumns columns;
    if (!email.empty()) {
        if (email.size() <= kDestinationColumnWidth) {
            columns.destination = " ";
            columns.email = email;
        } else {
            columns.destination = email.substr(0, kDestinationColumnWidth);
            columns.email = email.substr(kDestinationColumnWidth);
        }
    } else if (computerName.size() <= kDestinationColumnWidth) {
        columns.destination = computerName;
    } else {
        columns.destination = computerName.substr(0, kDestinationColumnWidth);
        columns.rest = computerName.substr(kDestinationColumnWidth);
    }
    return columns;
}

void JoinDestinationName(const DestinationNameColumns& columns, std::string& computerName, std::string& email)
{
    std::string first = columns.destination;
    first.erase(first.find_last_not_of(' ') + 1);
    if (!columns.email.empty()) {
        email = first + columns.email;
        computerName.clear();
    } else {
        computerName = first + columns.rest;
        email.clear();
    }
}
