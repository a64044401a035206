/* INT_PTR CallWithArguments(FARPROC address, const INT_PTR* args, int32_t count), cdecl.
   Pushes args[count-1] down to args[0], so that args[0] is the first parameter, calls the
   function and takes the stack pointer back from the frame: whether the callee removed its
   arguments (stdcall) or left them (cdecl) does not matter. */
    .text
    .globl _CallWithArguments
    .def _CallWithArguments; .scl 2; .type 32; .endef
_CallWithArguments:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:
    testl %ecx, %ecx
    jle 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:
    call *8(%ebp)
    leal -4(%ebp), %esp
    popl %esi
    popl %ebp
    ret
