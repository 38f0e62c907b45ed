#pragma once

class TfDM;

// Sets the statements of the data module's document queries and declares how their computed
// columns read (amounts as money). Each query takes its parameter by name:
//   adoqZActive   :idz      one Z-report with its correction act, register and VAT split
//   adoqZsum      :iddovra  the same figures summed over a shift (one row, null sums when empty)
//   adoqKM7       :idDovra  one row per Z-report of a shift with its corrections, by register
//   adoqKM7Sum    :idDovra  the shift's sales and refund totals
//   adoqKM7korr   :idDovra  the shift's corrected cash and card revenue
//   adoqPERENOS   :idDovra  deposits and withdrawals per register of a shift
//   adoqPERENOSsum :idDovra their totals
//   adoqKAkt      :idz      the correction act of a Z-report (no row without one)
//   adoqZKM4      :idkkm    a register's five latest Z-reports, oldest first
//   adoqFILIAL, adoqFIO     no parameter
void setUpDocumentQueries(TfDM &dm);
