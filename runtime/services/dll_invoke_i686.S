/* INT_PTR CallWithArguments(FARPROC address, const INT_PTR* args, int32_t count), cdecl.
   Lays args[0] to args[count-1] out at the stack pointer, so that args[0] is the first
   parameter, with the stack 16-byte aligned at the call for callees built to expect it;
   calls the function and takes the stack pointer back from the frame, so whether the callee
   removed its arguments (stdcall) or left them (cdecl) does not matter. */
    .text
    .globl _CallWithArguments
    .def _CallWithArguments; .scl 2; .type 32; .endef
_CallWithArguments:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    leal 0(,%ecx,4), %eax
    subl %eax, %esp
    andl $-16, %esp
    xorl %edx, %edx
1:
    cmpl %ecx, %edx
    jge 2f
    movl (%esi,%edx,4), %eax
    movl %eax, (%esp,%edx,4)
    incl %edx
    jmp 1b
2:
    call *8(%ebp)
    leal -4(%ebp), %esp
    popl %esi
    popl %ebp
    ret
