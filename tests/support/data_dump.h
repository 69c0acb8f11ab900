#pragma once

#include <QByteArray>

class Tdata;

namespace testing_support {

// Every record of a loaded database and every link between records, as
// UTF-8 text in a fixed order. Links name their target by a key (a species
// by its place in the first systematic order, a recording by its
// identifier, a locality by its key ...), never by an address, so two loads
// of the same files give the same text however the loader works inside.
QByteArray canonicalDump(const Tdata& data);

}  // namespace testing_support
