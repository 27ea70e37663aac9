! Writes the golden renderings of the fixed fields, as the Fortran run time produces them.
! Build and run (from this folder):  gfortran -O0 -o /tmp/make_golden make_golden.f90 && /tmp/make_golden
! Output files (fixed columns, no separators):
!   golden_cube_fields.txt  100000 lines: value bits Z16, ES13.5, E13.5, and for the first
!                           50000 lines the bits (Z16) of the E13.5 field read back with (E13.5)
!   golden_other_fields.txt the first 16000 values: bits Z16, E18.10, bits read back (E18.10),
!                           E16.8, bits read back (E16.8), E11.3, F12.6, F4.2, F3.1, ES14.7,
!                           ES14.8, bits of the ES13.5 field read back with (E13.5)
!   golden_integers.txt     5000 lines: value in I21, then I5 and I15
! The values come first from hand-picked families (zero, negative zero, subnormals, powers of
! two and ten and their neighbours, decimal ties at every precision used and their
! neighbours, exact binary ties, rounding that carries into the exponent), then random values.
program make_golden
  use, intrinsic :: ieee_arithmetic
  implicit none
  integer, parameter :: dp = kind(1.0d0), i8 = selected_int_kind(18)
  integer, parameter :: n_all = 100000, n_readback = 50000, n_other = 16000, n_int = 5000
  real(dp) :: v(n_all), y, u, u2
  integer :: n, k, j, p, i, ps(6)
  integer(i8) :: bits, m
  character(64) :: s
  character(13) :: f13a, f13b
  character(18) :: f18
  character(16) :: f16
  integer, allocatable :: seed(:)
  integer(i8), parameter :: edges(15) = [0_i8, 9999_i8, 99999_i8, 100000_i8, -9999_i8, &
    -10000_i8, 99999999999999_i8, 999999999999999_i8, 1000000000000000_i8, &
    -99999999999999_i8, -100000000000000_i8, 2147483647_i8, -2147483648_i8, huge(1_i8), -huge(1_i8)]

  call random_seed(size=k)
  allocate (seed(k))
  seed = [(104729 * j + 7, j = 1, k)]
  call random_seed(put=seed)
  n = 0

  ! Zero, negative zero and the extremes.
  call add(0.0_dp)
  call add(-0.0_dp)
  call add(tiny(1.0_dp))
  call add(-tiny(1.0_dp))
  call add(huge(1.0_dp))
  call add(-huge(1.0_dp))
  call add(transfer(1_i8, 1.0_dp))                   ! smallest subnormal
  call add(transfer(4503599627370495_i8, 1.0_dp))    ! largest subnormal
  ! Subnormal powers of two and random subnormals.
  do k = -1074, -1023
    call add(2.0_dp**k)
  end do
  do j = 1, 300
    call random_number(u)
    m = int(u * 4503599627370495.0_dp, i8) + 1_i8
    if (mod(j, 2) == 0) m = ior(m, ishft(1_i8, 63))
    call add(transfer(m, 1.0_dp))
  end do
  ! Powers of ten and their neighbours.
  do k = -323, 308
    write (s, '(A,I0)') '1.0E', k
    read (s, *) y
    call add(y)
    call add(ieee_next_after(y, 0.0_dp))
    call add(-ieee_next_after(y, huge(1.0_dp)))
  end do
  ! Powers of two in the normal range (exact values, many of them decimal ties).
  do k = -100, 100
    call add(2.0_dp**k)
  end do
  ! Fixed-point ties: x.yz5 for F4.2, x.y5 for F3.1, x.yyyyyy5 for F12.6, with neighbours.
  do j = 1, 500
    call random_number(u)
    write (s, '(F5.3)') real(int(u * 1000.0_dp), dp) / 100.0_dp + 0.005_dp
    call add_tie(s)
  end do
  do j = 0, 99
    write (s, '(I0,A,I0,A)') j / 10, '.', mod(j, 10), '5'
    call add_tie(s)
  end do
  do j = 1, 200
    call random_number(u)
    write (s, '(I0,A,I6.6,A)') int(u * 1000.0_dp), '.', int(mod(u * 1.0e9_dp, 1.0e6_dp)), '5'
    call add_tie(s)
  end do
  ! Exact binary ties for the fixed-point fields.
  do j = -80, 80
    call add(real(j, dp) / 8.0_dp)
  end do
  do j = -40, 40
    call add(real(j, dp) / 4.0_dp)
  end do
  ! Decimal ties at each number of significant digits in use (3, 5, 6, 8, 9, 10), anywhere in
  ! the exponent range, with their neighbours; then all-nine ties whose rounding carries.
  ps = [3, 5, 6, 8, 9, 10]
  do i = 1, 6
    p = ps(i)
    do j = 1, 300
      call random_number(u)
      call random_number(u2)
      write (s, '(I0,A,I0,A,I0)') 10_i8**(p - 1) + int(u * 9.0_dp * 10.0_dp**(p - 1), i8), &
        '5E', int(u2 * 600.0_dp) - 300 - p
      call add_tie(s)
    end do
    do j = 1, 50
      call random_number(u2)
      write (s, '(I0,A,I0)') 10_i8**p - 1_i8, '5E', int(u2 * 600.0_dp) - 300 - p
      call add_tie(s)
    end do
    ! Integers of p + 1 digits ending in 5: exact ties.
    do j = 1, 50
      call random_number(u)
      call add(real((10_i8**p + int(u * 9.0_dp * 10.0_dp**p, i8)) * 10_i8 + 5_i8, dp))
    end do
  end do
  ! Random values: most log-uniform over 1e-300..1e300, some over the range of grid data,
  ! some random bit patterns.
  do while (n < n_all)
    call random_number(u)
    call random_number(u2)
    if (mod(n, 10) < 7) then
      y = 10.0_dp**(600.0_dp * u - 300.0_dp)
    else if (mod(n, 10) < 9) then
      y = 10.0_dp**(16.0_dp * u - 12.0_dp)
    else
      bits = int(u * 9007199254740991.0_dp, i8) + ishft(int(u2 * 2046.0_dp, i8) + 1_i8, 52)
      y = transfer(bits, 1.0_dp)
    end if
    if (u2 < 0.5_dp) y = -y
    call add(y)
  end do

  open (10, file='golden_cube_fields.txt', status='replace', action='write')
  do i = 1, n_all
    write (f13a, '(ES13.5)') v(i)
    write (f13b, '(E13.5)') v(i)
    if (i <= n_readback) then
      read (f13b, '(E13.5)') y
      write (10, '(Z16.16,A13,A13,Z16.16)') transfer(v(i), 0_i8), f13a, f13b, transfer(y, 0_i8)
    else
      write (10, '(Z16.16,A13,A13)') transfer(v(i), 0_i8), f13a, f13b
    end if
  end do
  close (10)

  open (11, file='golden_other_fields.txt', status='replace', action='write')
  do i = 1, n_other
    write (f18, '(E18.10)') v(i)
    write (f16, '(E16.8)') v(i)
    write (f13a, '(ES13.5)') v(i)
    write (11, '(Z16.16,A18)', advance='no') transfer(v(i), 0_i8), f18
    read (f18, '(E18.10)') y
    write (11, '(Z16.16,A16)', advance='no') transfer(y, 0_i8), f16
    read (f16, '(E16.8)') y
    write (11, '(Z16.16,E11.3,F12.6,F4.2,F3.1,ES14.7,ES14.8)', advance='no') transfer(y, 0_i8), &
      v(i), v(i), v(i), v(i), v(i), v(i)
    read (f13a, '(E13.5)') y
    write (11, '(Z16.16)') transfer(y, 0_i8)
  end do
  close (11)

  open (12, file='golden_integers.txt', status='replace', action='write')
  do i = 1, n_int
    call random_number(u)
    call random_number(u2)
    select case (mod(i, 5))
    case (0)
      m = int(u * 200000.0_dp, i8) - 100000_i8
    case (1)
      m = int(u * 2.0e15_dp, i8) - 1000000000000000_i8
    case (2)
      m = int(10.0_dp**(18.0_dp * u), i8)
      if (u2 < 0.5_dp) m = -m
    case (3)
      m = int(u * 40.0_dp, i8) - 20_i8
    case default
      m = edges(mod(i / 5, 15) + 1)
    end select
    write (12, '(I21,I5,I15)') m, m, m
  end do
  close (12)

contains

  subroutine add(x)
    real(dp), intent(in) :: x
    if (n < n_all) then
      n = n + 1
      v(n) = x
    end if
  end subroutine add

  ! The double nearest to a decimal text, and its two neighbours.
  subroutine add_tie(text)
    character(*), intent(in) :: text
    real(dp) :: x
    read (text, *) x
    call add(x)
    call add(ieee_next_after(x, -huge(1.0_dp)))
    call add(ieee_next_after(x, huge(1.0_dp)))
  end subroutine add_tie

end program make_golden
