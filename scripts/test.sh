#!/usr/bin/env bash
# Installs what is needed, builds, starts a private PostgreSQL cluster and runs every test
# on SQLite and on PostgreSQL.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh

pgdir=$(mktemp -d /tmp/cangshu-pg.XXXXXX)
cleanup() { ./scripts/pg.sh stop "$pgdir" || true; rm -rf "$pgdir"; }
trap cleanup EXIT
trap "exit 130" INT TERM
CANGSHU_TEST_PG=$(./scripts/pg.sh start "$pgdir")
export CANGSHU_TEST_PG
echo "PostgreSQL test server: $CANGSHU_TEST_PG"

ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
