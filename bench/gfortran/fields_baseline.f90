! Baseline for the number-field benchmarks: the same grid of values as fields_bench.cpp,
! written and read by the Fortran run time with the same formats.
! Usage: fields_baseline MODE [N] [FILE]
!   MODE cube: N**3 values, third index fastest, each run of N values written with
!              "(6ES13.5)" and read back with "(6E13.5)"
!   MODE e18:  the same runs written and read with "(5E18.10)"
! Prints one line per direction: "<format> <write|read>: <values per second> values/s", the
! time being the process's CPU time (as Google Benchmark counts it), file system work included.
program fields_baseline
  implicit none
  integer, parameter :: dp = kind(1.0d0)
  character(32) :: mode, arg
  character(256) :: path
  integer :: n, i, j, k, u
  real(dp), allocatable :: v(:, :, :), w(:, :, :)
  real(dp) :: x, y, z, r1, r2
  real(dp) :: t0, t1

  mode = 'cube'
  n = 200
  path = '/tmp/qv_fields_baseline.txt'
  if (command_argument_count() >= 1) call get_command_argument(1, mode)
  if (command_argument_count() >= 2) then
    call get_command_argument(2, arg)
    read (arg, *) n
  end if
  if (command_argument_count() >= 3) call get_command_argument(3, path)

  allocate (v(n, n, n), w(n, n, n))
  do i = 1, n
    do j = 1, n
      do k = 1, n
        x = -6.0_dp + 12.0_dp * (i - 1) / (n - 1)
        y = -6.0_dp + 12.0_dp * (j - 1) / (n - 1)
        z = -6.0_dp + 12.0_dp * (k - 1) / (n - 1)
        r1 = sqrt((x - 1) * (x - 1) + y * y + z * z)
        r2 = sqrt((x + 1) * (x + 1) + y * y + z * z)
        v(k, j, i) = exp(-2.0_dp * r1) + 0.5_dp * exp(-3.0_dp * r2)
        if (mod(i + j + k, 4) == 0) v(k, j, i) = -v(k, j, i)
      end do
    end do
  end do

  select case (trim(mode))
  case ('cube')
    call run('(6ES13.5)', '(6E13.5)', 'ES13.5', 'E13.5')
  case ('e18')
    call run('(5E18.10)', '(5E18.10)', 'E18.10', 'E18.10')
  case default
    write (*, '(A)') 'unknown mode: '//trim(mode)
    stop 1
  end select

contains

  subroutine run(wfmt, rfmt, wname, rname)
    character(*), intent(in) :: wfmt, rfmt, wname, rname
    call cpu_time(t0)
    open (newunit=u, file=trim(path), status='replace', action='write')
    do i = 1, n
      do j = 1, n
        write (u, wfmt) (v(k, j, i), k = 1, n)
      end do
    end do
    close (u)
    call cpu_time(t1)
    call report(wname, 'write', t1 - t0)

    call cpu_time(t0)
    open (newunit=u, file=trim(path), status='old', action='read')
    do i = 1, n
      do j = 1, n
        read (u, rfmt) (w(k, j, i), k = 1, n)
      end do
    end do
    close (u)
    call cpu_time(t1)
    call report(rname, 'read', t1 - t0)
  end subroutine run

  subroutine report(name, what, seconds)
    character(*), intent(in) :: name, what
    real(dp), intent(in) :: seconds
    write (*, '(A,1X,A,A,ES12.4,A)') name, what, ':', real(n, dp)**3 / seconds, ' values/s'
  end subroutine report

end program fields_baseline
