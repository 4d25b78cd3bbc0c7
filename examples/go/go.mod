// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
module ifenum.example/listinterfaces

go 1.19
