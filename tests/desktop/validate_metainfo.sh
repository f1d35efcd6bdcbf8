#!/usr/bin/env bash
# Checks the AppStream metainfo without the network, pedantically: errors and warnings fail.
set -euo pipefail
metainfo=$1

# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool appstreamcli appstream
appstreamcli validate --no-net --pedantic --explain "$metainfo"
