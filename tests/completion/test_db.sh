#!/usr/bin/env bash
# A private PostgreSQL cluster for the development-database tests, reached through its ODBC
# driver: "start STATE_DIR" creates and starts it on a free port of its own with the metadata
# tables the editor reads (and the few functions that let its SQL Server queries run unchanged),
# and writes STATE_DIR/connection.env; "stop STATE_DIR" stops it and removes it. A cluster left
# by an earlier run is stopped and removed first.
set -euo pipefail

action=${1:?start or stop}
state=${2:?state folder}
mkdir -p "$state"
record="$state/cluster.dir"

pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$pgbin/initdb" ] || { echo "PostgreSQL server binaries not found (install postgresql)" >&2; exit 1; }

# initdb refuses to run as root: the cluster belongs to the postgres user then.
as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop_cluster() {
  if [ -f "$record" ]; then
    dir=$(cat "$record")
    if [ -d "$dir/data" ]; then
      as_owner "$pgbin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    case "$dir" in /tmp/plendor-devdb.*) rm -rf "$dir" ;; esac
    rm -f "$record"
  fi
  rm -f "$state/connection.env"
}

if [ "$action" = stop ]; then
  stop_cluster
  exit 0
fi

stop_cluster
dir=$(mktemp -d /tmp/plendor-devdb.XXXXXX)
echo "$dir" >"$record"
mkdir -p "$dir/socket"
if [ "$(id -u)" = 0 ]; then chown -R postgres "$dir"; fi

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
password='pl;en{d}or pw'
printf '%s\n' 'super' >"$dir/superpw"
if [ "$(id -u)" = 0 ]; then chown postgres "$dir/superpw"; fi

as_owner "$pgbin/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 \
  --auth-local=trust --auth-host=scram-sha-256 --pwfile="$dir/superpw" >"$dir/initdb.log" 2>&1 \
  || { cat "$dir/initdb.log" >&2; exit 1; }
as_owner "$pgbin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
  -o "-p $port -k $dir/socket -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null \
  || { cat "$dir/server.log" >&2; exit 1; }

psql_as() { as_owner "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir/socket" -p "$port" -U postgres "$@"; }

psql_as -d postgres <<SQL
create role plendor login password '${password//\'/\'\'}';
create role stranger login password 'other';
create database plendor_dev owner plendor;
SQL

psql_as -d plendor_dev <<'SQL'
create extension citext;
-- What SQL Server offers and the editor's queries use.
create function isnull(text, text) returns text language sql immutable as 'select coalesce($1, $2)';
create operator + (leftarg = text, rightarg = text, function = textcat);
create schema dbo;
create view dbo.sysobjects as select relname::text as name, 'U'::text as xtype from pg_class;
-- Names compare without regard to case, as SQL Server's default collation does.
create table tblDBTableInfo (id int primary key, tableName citext not null, languageid int);
-- A field row without a name, as one in a real catalogue: tblWarehouse's.
create table tbldbfieldinfo (id serial primary key, fieldName citext, tableid int not null, languageid int);
create table tbllanguage (id int primary key, zh_Cn text);
insert into tbllanguage values (1, '单据'), (2, '明细'), (3, '用户'), (10, '编码'), (11, '日期'), (12, '单号'),
  (13, '引号');
insert into tblDBTableInfo values (1, 'tblBill', 1), (2, 'tblBillDetail', 2), (3, 'tblUser', 3),
  (4, 'tblNoCaption', null), (5, 'tbl''Quote', 13), (6, 'tblWarehouse', null);
insert into tbldbfieldinfo (fieldName, tableid, languageid) values
  ('code', 1, 10), ('billDate', 1, 11), ('amount', 1, null),
  ('billNo', 2, 12), ('code', 2, 10),
  ('userId', 3, null),
  ('quoted', 5, 13),
  ('code', 6, 10), (null, 6, 10), ('stock', 6, null);
grant usage on schema dbo to plendor;
grant select on all tables in schema public, dbo to plendor;
SQL

cat >"$state/connection.env" <<ENV
PLENDOR_TEST_DB_DRIVER=PostgreSQL Unicode
PLENDOR_TEST_DB_PORT=$port
PLENDOR_TEST_DB_NAME=plendor_dev
PLENDOR_TEST_DB_USER=plendor
PLENDOR_TEST_DB_PASSWORD=$password
ENV
echo "development database on 127.0.0.1:$port"
