#!/usr/bin/env bash
# Starts this computer's PostgreSQL cluster (Debian's postgresql package) and makes a role for the user running
# the tests, so that the tests' server run can make and drop its own databases through the local socket (peer
# authentication: no password anywhere).
set -euo pipefail

as_postgres=(sudo -u postgres)
[ "$(id -u)" -eq 0 ] && as_postgres=(runuser -u postgres --)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

read -r version name status < <(pg_lsclusters --no-header | awk 'NR == 1 { print $1, $2, $4 }')
if [ -z "${version:-}" ]; then
    echo "No PostgreSQL cluster on this computer (install Debian's postgresql package)." >&2
    exit 1
fi
[ "$status" = online ] || $sudo pg_ctlcluster "$version" "$name" start

user="$(id -un)"
if ! "${as_postgres[@]}" psql -XtAc "SELECT 1 FROM pg_roles WHERE rolname = '$user'" | grep -q 1; then
    "${as_postgres[@]}" createuser --createdb --createrole "$user"
fi

# The members of one group role are turned away by the server's pg_hba.conf, so that the tests can see how the
# program explains such a refusal. The line is only for that group, which nobody else is in.
refused=dromvel_test_kizartak
if ! "${as_postgres[@]}" psql -XtAc "SELECT 1 FROM pg_roles WHERE rolname = '$refused'" | grep -q 1; then
    "${as_postgres[@]}" psql -XqAc "CREATE ROLE $refused NOLOGIN"
fi
hba="$("${as_postgres[@]}" psql -XtAc "SHOW hba_file")"
if ! $sudo grep -q "+$refused" "$hba"; then
    $sudo sed -i "1i host all +$refused all reject" "$hba"
    $sudo pg_ctlcluster "$version" "$name" reload
fi
