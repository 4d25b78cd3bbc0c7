#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Install ifenum into WORK/prefix and build the Go example against it through
# pkg-config, offline, into WORK/go-consumer.
# Usage: build_go.sh BUILD_DIR WORK_DIR SOURCE_DIR GO
set -eu
build=$1 work=$2 source=$3 go=$4
cmake --install "$build" --prefix "$work/prefix" >&2
cd "$source/examples/go"
PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" GOCACHE="$work/gocache" GOPATH="$work/gopath" \
  GOPROXY=off GOFLAGS=-mod=mod CGO_ENABLED=1 "$go" build -o "$work/go-consumer" . >&2
