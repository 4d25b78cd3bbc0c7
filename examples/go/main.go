// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors

// Command listinterfaces lists the IPv4 interface entries through the ifenum
// library, with cgo, and releases the list.
package main

/*
#cgo pkg-config: ifenum
#include <stdio.h>
#include <ifenum.h>
*/
import "C"

import "fmt"

func main() {
	list := C.getEthernetDetails()
	// The library's account sits in C's stdout buffer, and Go writes fd 1
	// directly: flush it now, or it comes out cut into our lines, and
	// whatever is left is lost at exit.
	C.fflush(nil)
	for d := list; d != nil; d = d.ifNext {
		fmt.Printf("%-16s %-15s index %d speed %d error %d\n",
			C.GoString(d.ifName), C.GoString(d.ifIpAddress), d.ifIndex, d.ifSpeed, d.ifErrorCode)
	}
	C.freeEthernetDetails(list)
}
