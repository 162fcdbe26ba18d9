#!/bin/sh
# Runs the fleet benchmarks (bench/fleet_bench.cpp) on a throwaway PostgreSQL server: pg_virtualenv makes
# a new cluster, names it to the benchmark by CORVEX_BENCH_POSTGRES (the password by PGPASSWORD) and
# drops it afterwards. Run it as an unprivileged user: as root, pg_virtualenv always names its cluster
# "regress", which the PostgreSQL tests of a build running at the same time use too. For example
#   runuser -u benchpg -- bench/fleet-postgres.sh --benchmark_filter='Fleet.*postgres'
# Further arguments go to build/bin/corvex_bench_ui; CORVEX_BENCH_FLEET=DEVICESxTESTS picks the size.
set -eu
bench="$(cd "$(dirname "$0")/.." && pwd)/build/bin/corvex_bench_ui"
export QT_QPA_PLATFORM=offscreen
exec pg_virtualenv sh -c 'CORVEX_BENCH_POSTGRES="postgresql://$PGUSER@$PGHOST:${PGPORT:-5432}/${PGDATABASE:-postgres}" exec "$@"' \
  fleet-postgres "$bench" "$@"
